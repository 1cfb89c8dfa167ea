// Placeholder until the session lands.
#include "plugins/NevChat/NevChatSession.h"

NevChatSession::NevChatSession(const char* clientName) : PlugsMainSession(clientName) {}
NevChatSession::~NevChatSession() {}
void NevChatSession::init() {}
void NevChatSession::term() {}
bool NevChatSession::hasSetupWindow() { return true; }
void NevChatSession::createSetupWindow(HWND) {}
void NevChatSession::writeSetup() {}
void NevChatSession::reloadSetup() {}
void NevChatSession::onSetupOpen() {}
void NevChatSession::onSetupClose() {}
int NevChatSession::getBackupSizeNeeded() { return 304; }
void NevChatSession::backup(void*, int) {}
void NevChatSession::restore(void*, int) {}
void NevChatSession::onUserEvent(const char*, const char*, void*) {}
int NevChatSession::onRequest(const char*, char*, int, const char*, void*) { return -1; }
void NevChatSession::onSystemEvent(int, EventData*) {}
void NevChatSession::resetState() {}
void NevChatSession::freeHistory() {}
void NevChatSession::requestWho() {}
void NevChatSession::setGroup(const char*) {}
void NevChatSession::startKeepAlive() {}
void NevChatSession::stopKeepAlive() {}
