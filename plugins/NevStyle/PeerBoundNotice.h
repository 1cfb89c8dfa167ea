// The one line a plug-in prints in the chat window when a peer's message would open one window
// too many: at most one line every ten seconds, so a flood of refused messages stays one line.
#pragma once

#include "platform/win32.h"

class PlugsObject;

class PeerBoundNotice {
 public:
  static constexpr DWORD QuietMs = 10000;

  PeerBoundNotice() = default;
  // Sends the printf-style text (at most 255 bytes) to the client's main plug-in ("sysout")
  // unless a line went out less than QuietMs ago; true when it was sent.
  bool say(PlugsObject* session, const char* format, ...) __attribute__((format(printf, 3, 4)));

 private:
  bool said = false;
  DWORD lastTick = 0;
};
