#include "host/HostHooks.h"

#include "host/Client.h"

void HostHooks::refreshPage(int kind) {
  if (managerWindow != nullptr) managerWindow->refreshPage(kind);
}

void HostHooks::showManagerWindow() {
  if (managerWindow != nullptr) managerWindow->showManagerWindow();
}

bool HostHooks::clientLoadPlug(Client* client, PlugRecord* record) {
  return client != nullptr && client->loadPlug(record);
}

void HostHooks::clientUnloadPlug(Client* client, PlugRecord* record) {
  if (client != nullptr) client->unloadPlug(record);
}
