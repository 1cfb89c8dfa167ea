// Placeholder until the client's plug-in sessions land.
#include "host/Client.h"

void Client::createSessions() {}
void Client::initSessions() {}
void Client::deleteSessions() {}
void Client::addPlug(PlugRecord*) {}
void Client::removePlug(PlugRecord*) {}
bool Client::loadPlug(PlugRecord*) { return false; }
bool Client::unloadPlug(PlugRecord*) { return false; }
SessionRecord* Client::findSessionRecord(PlugRecord*, int*) { return nullptr; }
SessionRecord* Client::findSession(const char*) { return nullptr; }
bool Client::hasPlug(const char*) { return false; }
const char* Client::buildPlugsList() { return ""; }
void Client::SendEvent(PlugsObject*, const char*, const char*, void*) {}
int Client::SendRequest(PlugsObject*, const char*, char*, int, const char*, void*) { return -1; }
