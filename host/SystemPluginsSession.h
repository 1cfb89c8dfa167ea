// The host's side of the system plug-ins: makes and drops the single session of each one and
// hands every happening of the host (client traffic, events, window messages, typed lines) to them.
#pragma once

#include "host/PlugsHooks.h"
#include "host/PlugsListener.h"
#include "host/SystemSetupPages.h"
#include "lib/String.h"
#include "platform/win32.h"
#include "sdk/EventData.h"

class PlugsManagers;
class PlugsSystemSession;

class SystemPluginsSession : public PlugsListener {
 public:
  // pages may be null: no setup window, so no setup pages.
  SystemPluginsSession(PlugsManagers& managers, SystemSetupPages* pages = nullptr);
  virtual ~SystemPluginsSession() = default;
  SystemPluginsSession(const SystemPluginsSession&) = delete;
  SystemPluginsSession& operator=(const SystemPluginsSession&) = delete;

  void onSetupClose() override;
  bool unloadPlug(PlugRecord* record) override;
  bool loadPlug(PlugRecord* record) override;
  virtual void init();
  virtual void term();
  virtual void onSetupOpen();
  virtual void showSetupWindow();
  virtual void hideSetupWindow();
  virtual void removeSetupPage(PlugRecord* record);

  virtual bool onWindowMessage(MSG* msg);
  virtual bool onCheckKeyPressed(int key);
  virtual void onNewClient(const char* clientName);
  // Both text chains return a heap copy of the final text (null for a null text); the caller
  // frees it with delete[].
  virtual char* onReceivedData(const char* clientName, const char* text);
  // True when a system plug-in intercepted the event.
  virtual bool onEvent(const char* clientName, int lineNo, const char* eventName, EventData* data);
  virtual char* onDataToSend(const char* clientName, const char* text);
  virtual void onSystemEvent(const char* clientName, int id, EventData* data);
  // True when a system plug-in took the line.
  virtual bool onCommandLine(const char* line);

 private:
  using TextHook = const char* (PlugsSystemSession::*)(const char*, const char*);

  PlugsSystemSession* sessionOf(PlugRecord& record) const;
  void makeSession(PlugRecord& record);
  void addSetupPage(PlugRecord& record, PlugsSystemSession* session);
  void dropSession(PlugRecord& record, const char* deleteName);
  char* textChain(const char* method, TextHook hook, const char* clientName, const char* text);
  // Calls hook(session) for every system record that has a session, under the lock.
  template <typename Hook>
  void broadcast(const char* method, Hook&& hook);

  PlugsManagers& managers_;
  SystemSetupPages* pages_;
  String work_;
};

// The managers' hooks with the system plug-ins handed to the session once it exists; every
// other hook goes to next (when set).
class SystemSessionHooks : public PlugsHooks {
 public:
  explicit SystemSessionHooks(PlugsHooks* next = nullptr) : next_(next) {}

  void setSession(SystemPluginsSession* session) { session_ = session; }

  void refreshPage(int kind) override;
  void showManagerWindow() override;
  bool systemLoadPlug(PlugRecord* record) override;
  void systemUnloadPlug(PlugRecord* record) override;
  bool clientLoadPlug(Client* client, PlugRecord* record) override;
  void clientUnloadPlug(Client* client, PlugRecord* record) override;

 private:
  PlugsHooks* next_;
  SystemPluginsSession* session_ = nullptr;
};
