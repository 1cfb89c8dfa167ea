// Placeholder until the client-to-client requests land.
#include "plugins/NevChat/NevChatSession.h"

void NevChatSession::answerRequest(const char*, const char*, const char*) {}
void NevChatSession::onAcknowledge(const char*, const char*, const char*) {}
