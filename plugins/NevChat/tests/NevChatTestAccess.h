// The tests' way to the private state of a NevChat session: the settings object, the flags and
// the trace of nick-list updates.
#pragma once

#include "lib/String.h"
#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/NevChatSetupPage.h"

class NevChatTestAccess {
 public:
  static NevChatSetupPage& settings(NevChatSession& session) {
    if (session.settings == nullptr) session.settings = new NevChatSetupPage();
    return *session.settings;
  }
  static void dropSettings(NevChatSession& session) {
    delete session.settings;
    session.settings = nullptr;
  }
  static void setFlags(NevChatSession& session, bool inputEnabled, bool sendDataOk, bool away) {
    session.inputEnabled = inputEnabled;
    session.sendDataOk = sendDataOk;
    session.away = away;
  }
  static void traceNicks(NevChatSession& session, String* trace) { session.nickTrace = trace; }
  static void setState(NevChatSession& session, int inputEnabled, int sendDataOk, int swallow) {
    session.inputEnabled = static_cast<unsigned char>(inputEnabled);
    session.sendDataOk = static_cast<unsigned char>(sendDataOk);
    session.whoToSwallow = swallow;
  }
};
