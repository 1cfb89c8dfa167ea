// The session base of an in/out filter: it may rewrite each received and each outgoing text.
// Null means "unchanged"; other results stay valid until the next call on the session.
#pragma once

#include "sdk/PlugsSession.h"

class PlugsInOutSession : public PlugsSession {
 public:
  explicit PlugsInOutSession(const char* clientName);

  virtual const char* onReceivedData(const char* text);
  virtual const char* onDataToSend(const char* text);
};
