// Placeholder until the chat window lands.
#include "plugins/NevChat/NevChatSession.h"

NevChatSession* NevChatSession::setTextFont(const char*) { return this; }
NevChatSession* NevChatSession::setTextColor(const char*) { return this; }
NevChatSession* NevChatSession::printStyled(const char*, ...) { return this; }
void NevChatSession::setBackground(const char*) {}
void NevChatSession::search(const char*, bool) {}
void NevChatSession::printText(const char*) {}
void NevChatSession::setTopic(const char*) {}
void NevChatSession::setChannel(const char*) {}
void NevChatSession::toggleNicks() {}
void NevChatSession::toggleTopic() {}
void NevChatSession::applyLayout() {}
void NevChatSession::onColorChanged(const char*) {}
void NevChatSession::onFontChanged(const char*) {}
void NevChatSession::onCharTyped() {}
void NevChatSession::defineStyles() {}
void NevChatSession::buildWindows() {}
void NevChatSession::destroyWindows() {}
