#include "plugins/NevStyle/PeerBoundNotice.h"

#include "sdk/PlugsObject.h"

bool PeerBoundNotice::say(PlugsObject* session, const char* text) {
  DWORD now = GetTickCount();
  if (said && now - lastTick < QuietMs) return false;
  said = true;
  lastTick = now;
  session->sendEvent("@", "sysout", const_cast<char*>(text));
  return true;
}
