// The end of a host run in the end-to-end tests: the system window closes as a person closes
// it, the message loop runs out, and the host shuts down.
#pragma once

#include "host/Host.h"
#include "host/SystemWindow.h"
#include "platform/win32.h"

inline void closeAndShutDown() {
  PostMessageA(systemWindow->getHwnd(), WM_CLOSE, 0, 0);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  shutDown();
}
