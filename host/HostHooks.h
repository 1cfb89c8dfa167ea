// What the plug-ins managers ask of the rest of the host: a client makes or drops its session
// of a plug-in switched on or off, and the "Plugins Manager..." window shows its lists.
#pragma once

#include "host/PlugsHooks.h"

class HostHooks : public PlugsHooks {
 public:
  // The "Plugins Manager..." window (null while there is none): it refreshes and shows itself.
  void setManagerWindow(PlugsHooks* window) { managerWindow = window; }
  PlugsHooks* getManagerWindow() const { return managerWindow; }

  void refreshPage(int kind) override;
  void showManagerWindow() override;
  bool clientLoadPlug(Client* client, PlugRecord* record) override;
  void clientUnloadPlug(Client* client, PlugRecord* record) override;

 private:
  PlugsHooks* managerWindow = nullptr;
};
