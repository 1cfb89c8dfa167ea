// Placeholder until the client's data path lands.
#include "host/Client.h"

void Client::onTryConnect(const char*, int) {}
void Client::onConnected(const char*, int) {}
void Client::onConnectionClosed() {}
void Client::onSocketData(const char*, int) {}
void Client::onSocketError(const char*) {}
void Client::sendData(const char*) {}
void Client::sendSystemEvent(int, EventData*) {}
void Client::sendQuitEvent() {}
void Client::filterReceivedData() {}
void Client::analyseLine(const char*) {}
void Client::runDataPath(const char*, int) {}
