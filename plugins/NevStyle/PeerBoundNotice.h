// The one line a plug-in prints in the chat window when a peer's message would open one window
// too many: at most one line every ten seconds, so a flood of refused messages stays one line.
#pragma once

#include "platform/win32.h"

class PlugsObject;

class PeerBoundNotice {
 public:
  static constexpr DWORD QuietMs = 10000;

  PeerBoundNotice() = default;
  // Sends the text to the client's main plug-in ("sysout") unless a line went out less than
  // QuietMs ago; true when it was sent.
  bool say(PlugsObject* session, const char* text);

 private:
  bool said = false;
  DWORD lastTick = 0;
};
