// Placeholder until the event handling lands.
#include "plugins/NevChat/NevChatSession.h"

void NevChatSession::onEvent(int, const char*, EventData*) {}
