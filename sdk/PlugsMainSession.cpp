#include "sdk/PlugsMainSession.h"

PlugsMainSession::PlugsMainSession(const char* clientName) : PlugsSession(clientName) {}

void PlugsMainSession::onEvent(int, const char*, EventData*) {}
