// The session base of an add-in: it sees every event first and may intercept it, so the main
// plug-in does not show the line.
#pragma once

#include "sdk/PlugsSession.h"

class PlugsAddinSession : public PlugsSession {
 public:
  explicit PlugsAddinSession(const char* clientName);

  // interceptedSoFar: whether an earlier add-in took the event; returns whether this one does.
  virtual bool onEvent(int lineNo, const char* eventName, EventData* data, bool interceptedSoFar);
};
