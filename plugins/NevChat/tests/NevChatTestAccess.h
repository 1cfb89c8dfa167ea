// The tests' way to the private state of a NevChat session: the flags and the trace of
// nick-list updates.
#pragma once

#include "lib/String.h"
#include "plugins/NevChat/NevChatSession.h"

class NevChatTestAccess {
 public:
  static void setState(NevChatSession& session, int inputEnabled, int sendDataOk, int swallow) {
    session.inputEnabled = static_cast<unsigned char>(inputEnabled);
    session.sendDataOk = static_cast<unsigned char>(sendDataOk);
    session.whoToSwallow = swallow;
  }
  static void traceNicks(NevChatSession& session, String* trace) { session.nickTrace = trace; }
};
