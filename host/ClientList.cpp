#include "host/ClientList.h"

#include "host/Client.h"
#include "host/Console.h"
#include "host/Host.h"
#include "host/IniSectionReader.h"
#include "host/SystemPluginsSession.h"
#include "sdk/NoCase.h"

namespace {

const COLORREF stepColour = RGB(0, 64, 255);
const COLORREF textColour = RGB(0, 0, 0);

// Calls fn on every client in list order. Each walk takes a walk of its own from the list, so
// a client looked up (or removed) from inside fn never disturbs an outer walk.
template <typename Fn>
void eachClient(List<Client*>& clients, Fn&& fn) {
  ListIteratorBase<Client*>* walk = clients.iterator();
  while (walk->hasNext()) fn(walk->next());
  walk->reset();
}

// The first client in list order for which test is true, or null.
template <typename Test>
Client* firstClient(List<Client*>& clients, Test&& test) {
  Client* found = nullptr;
  ListIteratorBase<Client*>* walk = clients.iterator();
  while (found == nullptr && walk->hasNext()) {
    Client* client = walk->next();
    if (client != nullptr && test(client)) found = client;
  }
  walk->reset();
  return found;
}

}  // namespace

// Nodes come five at a time: a host rarely has many clients.
ClientList::ClientList() : clients(5) {
  setSystemColor(stepColour);
  printSystem("- Config loading step :\n");
  IniSectionReader sections;
  while (sections.hasNext()) addClient(sections.next());
  setSystemColor(stepColour);
  printSystem("- Init all loaded config...\n");
  setSystemColor(textColour);
  initAll();
  setSystemColor(stepColour);
  printSystem("- End of Config loading step\n\n");
}

ClientList::~ClientList() {
  termAll();
  while (!clients.isEmpty()) {
    Client* client = clients.frontValue(true);
    clients.removeEnd(true);
    delete client;
  }
}

Client* ClientList::addClient(const char* section) {
  setSystemColor(textColour);
  printSystem("Read %s... \n", section);
  Client* client = new Client(section);
  printSystem("\n");
  clients.add(client, false);
  if (systemPluginsSession != nullptr) systemPluginsSession->onNewClient(section);
  return client;
}

Client* ClientList::findClient(const char* name) {
  if (name == nullptr) return nullptr;
  return firstClient(clients,
                     [name](Client* client) { return equalsNoCase(client->getName(), name); });
}

Client* ClientList::findClientByCommandId(int id) {
  return firstClient(clients, [id](Client* client) { return client->ownsCommandId(id); });
}

bool ClientList::contains(const Client* client) {
  if (client == nullptr) return false;
  return firstClient(clients, [client](Client* each) { return each == client; }) != nullptr;
}

void ClientList::removeClient(const char* name) {
  Client* client = findClient(name);
  if (client != nullptr) removeClient(client);
}

void ClientList::removeClient(Client* client) {
  if (!contains(client)) return;
  clients.remove(client);
  delete client;
}

void ClientList::initAll() {
  eachClient(clients, [](Client* client) { client->init(); });
}

// Every receive thread is asked first, so the threads end side by side instead of each
// client waiting for its own in turn.
void ClientList::termAll() {
  eachClient(clients, [](Client* client) { client->stopReceiving(); });
  eachClient(clients, [](Client* client) { client->term(); });
}

void ClientList::quitAll() {
  eachClient(clients, [](Client* client) { client->sendQuitEvent(); });
}
