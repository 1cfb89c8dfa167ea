#include "sdk/PlugsInOutSession.h"

PlugsInOutSession::PlugsInOutSession(const char* clientName) : PlugsSession(clientName) {}

const char* PlugsInOutSession::onReceivedData(const char*) { return nullptr; }
const char* PlugsInOutSession::onDataToSend(const char*) { return nullptr; }
