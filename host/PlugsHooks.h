// The parts around the plug-ins managers that come with the windows and clients: the manager
// pages, the system plug-ins session and the clients that hold sessions. Defaults do nothing.
#pragma once

class Client;
class PlugRecord;

class PlugsHooks {
 public:
  virtual ~PlugsHooks() = default;

  // The manager page of one kind must show the lists again.
  virtual void refreshPage(int kind) { (void)kind; }
  // The "Plugins Manager..." window opens with every page's check boxes synchronised.
  virtual void showManagerWindow() {}
  // System plug-ins are switched on and off by the system plug-ins session.
  virtual bool systemLoadPlug(PlugRecord* record) {
    (void)record;
    return true;
  }
  virtual void systemUnloadPlug(PlugRecord* record) { (void)record; }
  // A client makes its session of a plug-in switched on, and drops it before it goes off.
  virtual bool clientLoadPlug(Client* client, PlugRecord* record) {
    (void)client;
    (void)record;
    return true;
  }
  virtual void clientUnloadPlug(Client* client, PlugRecord* record) {
    (void)client;
    (void)record;
  }
};
