#include "plugins/NevStyle/PeerBoundNotice.h"

#include <cstdarg>
#include <cstdio>

#include "sdk/PlugsObject.h"

bool PeerBoundNotice::say(PlugsObject* session, const char* format, ...) {
  DWORD now = GetTickCount();
  if (said && now - lastTick < QuietMs) return false;
  said = true;
  lastTick = now;
  char text[256];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  session->sendEvent("@", "sysout", text);
  return true;
}
