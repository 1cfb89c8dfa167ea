// Placeholder until the client list lands.
#include "host/ClientList.h"

ClientList::ClientList() {}
ClientList::~ClientList() {}
Client* ClientList::addClient(const char*) { return nullptr; }
Client* ClientList::findClient(const char*) { return nullptr; }
Client* ClientList::findClientByCommandId(int) { return nullptr; }
bool ClientList::contains(const Client*) { return false; }
void ClientList::removeClient(const char*) {}
void ClientList::initAll() {}
void ClientList::termAll() {}
void ClientList::quitAll() {}
