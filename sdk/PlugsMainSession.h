// The session base of a main plug-in (one chat-server protocol per client): it receives every
// classified server line as a named event.
#pragma once

#include "sdk/PlugsSession.h"

class PlugsMainSession : public PlugsSession {
 public:
  explicit PlugsMainSession(const char* clientName);

  virtual void onEvent(int lineNo, const char* eventName, EventData* data);
};
