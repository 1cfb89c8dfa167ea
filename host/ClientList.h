// Every client of the host, one per section of Vornith.ini other than "System", in file order:
// built and announced at start-up, then initialised together; terminated and deleted at the end.
#pragma once

#include "lib/List.h"

class Client;

class ClientList {
 public:
  // The config loading step: builds every client, then runs their init steps.
  ClientList();
  // termAll, then deletes every client.
  ~ClientList();
  ClientList(const ClientList&) = delete;
  ClientList& operator=(const ClientList&) = delete;

  Client* addClient(const char* section);
  // First client whose name equals name ignoring case.
  Client* findClient(const char* name);
  Client* findClientByCommandId(int id);
  // Whether client is (still) one of the list.
  bool contains(const Client* client);
  void removeClient(const char* name);
  // Takes this very client out and deletes it: names that differ only in case are two clients.
  void removeClient(Client* client);
  void initAll();
  void termAll();
  void quitAll();
  List<Client*>& getClients() { return clients; }

 private:
  List<Client*> clients;
};
