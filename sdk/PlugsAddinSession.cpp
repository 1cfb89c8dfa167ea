#include "sdk/PlugsAddinSession.h"

PlugsAddinSession::PlugsAddinSession(const char* clientName) : PlugsSession(clientName) {}

bool PlugsAddinSession::onEvent(int, const char*, EventData*, bool) { return false; }
