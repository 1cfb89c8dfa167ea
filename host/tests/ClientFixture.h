// Test support for a client: a fresh program folder as the working folder with a console pane
// and plug-ins managers as the host's globals. Two ways to give it plug-ins: fake sessions of
// every kind journalling into one list, or factories of the test behind real managers.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/Client.h"
#include "host/ClientSetupPages.h"
#include "host/Host.h"
#include "host/PlugsManagers.h"
#include "host/SystemPluginsSession.h"
#include "host/tests/ConsolePane.h"
#include "lib/IniFile.h"
#include "sdk/PlugsAddinSession.h"
#include "sdk/PlugsInOutSession.h"
#include "sdk/PlugsMainSession.h"

// The private state the tests look at or stand in for.
class ClientTestAccess {
 public:
  static int firstCommandId(Client& client) { return client.firstCommandId; }
  // Builds the network page into page, as the init step does into the setup window's page.
  static ClientSetupPages* buildNetworkPage(Client& client, HWND page) {
    ClientSetupPages* pages = new ClientSetupPages(&client);
    client.attachSetupPages(pages);
    pages->buildNetwork(page);
    return pages;
  }
  static void dropPages(Client& client) { client.attachSetupPages(nullptr); }
  static ClientSetupPages* setupPages(Client& client) { return client.setupPages.get(); }
  // A loop pass's share of received lines; the one in force before is returned through the
  // pointers (when not null).
  static void setStepShare(int lines, int milliseconds, int* oldLines = nullptr,
                           int* oldMilliseconds = nullptr) {
    if (oldLines) *oldLines = Client::stepLines;
    if (oldMilliseconds) *oldMilliseconds = Client::stepMilliseconds;
    Client::stepLines = lines;
    Client::stepMilliseconds = milliseconds;
  }
};

inline std::string readIni(const char* file, const char* section, const char* key) {
  IniFile ini(file);
  ini.setSection(section);
  char value[4096] = {};
  ini.getString(key, value, sizeof value, "(missing)");
  return value;
}
inline void writeIni(const char* file, const char* section, const char* key, const char* value) {
  IniFile ini(file);
  ini.setSection(section);
  ini.writeString(key, value);
}

// A fresh program folder, a console pane and empty plug-ins managers made with hooks.
class ClientFolderTest : public ConsolePaneTest {
 protected:
  void SetUp() override {
    ConsolePaneTest::SetUp();
    if (IsSkipped()) return;
    here.reset(new InFolder);
    std::filesystem::create_directories("Plugins");
    table.size = sizeof table;
  }
  void TearDown() override {
    plugsManagers = nullptr;
    managers.reset();
    here.reset();
    ConsolePaneTest::TearDown();
  }
  void makeManagers(PlugsHooks* hooks) {
    managers.reset(new PlugsManagers(&table, ".\\Vornith.ini", hooks));
    plugsManagers = managers.get();
  }

  std::unique_ptr<InFolder> here;
  SdkFunctions table = {};
  std::unique_ptr<PlugsManagers> managers;
};

namespace clienttest {

inline Lines& journal() {
  static Lines lines;
  return lines;
}
inline void note(const std::string& line) { journal().push_back(line); }

// "Server=h Port=1" for the variables of a record.
inline std::string varsOf(const EventData* data) {
  std::string text;
  for (int i = 0; data && i < data->count; ++i)
    text += (i ? " " : "") + std::string(data->vars[2 * i]) + "=" + data->vars[2 * i + 1];
  return text;
}
inline std::string textOf(const EventData* data) {
  return data && data->text ? data->text : "(none)";
}
inline std::string systemEvent(const std::string& who, int id, const EventData* data) {
  return who + " sys " + std::to_string(id) + " " + textOf(data) + " [" + varsOf(data) + "]";
}

// The calls every kind of session shares, journaled under the session's tag.
template <class Base>
class Journaled : public Base {
 public:
  explicit Journaled(std::string tag) : Base("alpha"), tag(std::move(tag)) {}
  void onSystemEvent(int id, EventData* data) override { note(systemEvent(tag, id, data)); }
  void reloadSetup() override { note(tag + " reloadSetup"); }
  void writeSetup() override { note(tag + " writeSetup"); }
  std::string tag;
};

class FakeMain : public Journaled<PlugsMainSession> {
 public:
  using Journaled::Journaled;
  void onEvent(int lineNo, const char* eventName, EventData* data) override {
    note(tag + " event " + std::to_string(lineNo) + " " + eventName + " " + textOf(data) +
         (data->count ? " [" + varsOf(data) + "]" : ""));
  }
};

class FakeAddin : public Journaled<PlugsAddinSession> {
 public:
  using Journaled::Journaled;
  bool onEvent(int lineNo, const char* eventName, EventData* data, bool so) override {
    note(tag + " event " + std::to_string(lineNo) + " " + eventName + " " + textOf(data) +
         (so ? " (so far)" : ""));
    if (hook) hook(data);
    return intercept;
  }
  bool intercept = false;
  std::function<void(EventData*)> hook;  // runs inside onEvent
};

// Puts its tag in front of every text that passes.
class FakeInOut : public Journaled<PlugsInOutSession> {
 public:
  using Journaled::Journaled;
  const char* onReceivedData(const char* text) override {
    note(tag + " received " + text);
    if (unchanged) return nullptr;
    result = tag + text;
    return result.c_str();
  }
  const char* onDataToSend(const char* text) override {
    note(tag + " sending " + text);
    result = tag + text;
    return result.c_str();
  }
  std::string result;
  bool unchanged = false;
};

// The system plug-ins holder as the client sees it.
class FakeSystem : public SystemPluginsSession {
 public:
  explicit FakeSystem(PlugsManagers& managers) : SystemPluginsSession(managers) {}
  char* onReceivedData(const char* client, const char* text) override {
    note(std::string("system received ") + client + " " + text);
    return copy(text);
  }
  bool onEvent(const char* client, int lineNo, const char* eventName, EventData*) override {
    note(std::string("system event ") + client + " " + std::to_string(lineNo) + " " + eventName);
    return intercept;
  }
  char* onDataToSend(const char* client, const char* text) override {
    note(std::string("system sending ") + client + " " + text);
    return copy(text);
  }
  void onSystemEvent(const char*, int id, EventData* data) override {
    note(systemEvent("system", id, data));
  }
  static char* copy(const char* text) {
    char* out = new char[std::strlen(text) + 1];
    std::strcpy(out, text);
    return out;
  }
  bool intercept = false;
};

// What the host's hooks do for a client when a plug-in goes off: its sessions are dropped.
class DroppingHooks : public PlugsHooks {
 public:
  void clientUnloadPlug(Client* client, PlugRecord* record) override {
    note(std::string("unload ") + record->name);
    if (client->getMainRecord().plug == record) drop(&client->getMainRecord());
    for (auto* list : {&client->getAddins(), &client->getInOuts()})
      for (ListNode<SessionRecord*>* node = list->headNode(); node; node = node->next)
        if (node->value->plug == record) drop(node->value);
  }
  static void drop(SessionRecord* sessionRecord) {
    sessionRecord->plug->removeSession(sessionRecord->session);
    sessionRecord->session = nullptr;
  }
};

// One client "alpha" fed with fake sessions; the system holder is a journalling fake.
class ClientTest : public ClientFolderTest {
 protected:
  void SetUp() override {
    ClientFolderTest::SetUp();
    if (IsSkipped()) return;
    journal().clear();
    makeManagers(&hooks);
    system.reset(new FakeSystem(*managers));
    systemPluginsSession = system.get();
    // Every chunk handled in the call that brings it, however slow the machine.
    ClientTestAccess::setStepShare(1 << 30, 1 << 30, &savedLines, &savedMilliseconds);
  }
  void TearDown() override {
    client.reset();
    systemPluginsSession = nullptr;
    system.reset();
    ClientTestAccess::setStepShare(savedLines, savedMilliseconds);
    ClientFolderTest::TearDown();
  }

  Client& makeClient() {
    client.reset(new Client("alpha"));
    return *client;
  }
  // A record of kind (7 main, 8 add-in, 9 in/out) that the managers know as loaded.
  PlugRecord* plug(const char* name, int kind) {
    PlugList* list = managers->plugList(kind);
    list->emplace_back();
    PlugRecord* record = &list->back();
    std::strncpy(record->name, name, PlugRecord::kNameSize - 1);
    record->kind = kind;
    record->flags = PLUG_LOADED;
    return record;
  }
  // Gives the client a record of the plug-in with session (none when null).
  void use(PlugRecord* record, PlugsObject* session) {
    if (session) record->addSession(session, client.get());
    if (record->kind == 7) {
      client->getMainRecord() = SessionRecord{0, record, session};
      return;
    }
    SessionRecord* sessionRecord = new SessionRecord{0, record, session};
    (record->kind == 8 ? client->getAddins() : client->getInOuts()).add(sessionRecord, false);
  }
  // The journal lines that start with prefix.
  static Lines only(const std::string& prefix) {
    Lines out;
    for (const std::string& line : journal())
      if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
    return out;
  }

  DroppingHooks hooks;
  std::unique_ptr<FakeSystem> system;
  std::unique_ptr<Client> client;
  int savedLines = 0;
  int savedMilliseconds = 0;
};

}  // namespace clienttest

// What the host gives the managers: clients drop and make their sessions of a plug-in.
class ClientHooks : public PlugsHooks {
 public:
  bool clientLoadPlug(Client* client, PlugRecord* record) override {
    return client->loadPlug(record);
  }
  void clientUnloadPlug(Client* client, PlugRecord* record) override { client->unloadPlug(record); }
};

// A plug-in of the test whose sessions note their calls as "<plug-in> <call>".
class FakeSession : public PlugsObject {
 public:
  FakeSession(const char* client, const std::string& plug, Lines& journal, int answer,
              bool initThrows)
      : PlugsObject(client), plug(plug), journal(journal), answer(answer), initThrows(initThrows) {}
  void init() override {
    journal.push_back(plug + " init");
    if (initThrows) throw std::runtime_error("init");
  }
  void term() override { journal.push_back(plug + " term"); }
  bool hasSetupWindow() override { return withSetupPage; }
  void createSetupWindow(HWND parent) override {
    journal.push_back(plug + " setup page" + (IsWindow(parent) ? "" : " without a window"));
  }
  void onUserEvent(const char* from, const char* type, void*) override {
    journal.push_back(plug + " event " + from + " " + type);
  }
  int onRequest(const char* from, char*, int, const char* request, void*) override {
    journal.push_back(plug + " request " + from + " " + request);
    return answer;
  }

 private:
  std::string plug;
  Lines& journal;
  int answer;
  bool initThrows;

 public:
  bool withSetupPage = false;
};

class FakeFactory : public VornithPlugsFactory {
 public:
  FakeFactory(const char* name, int kind, Lines& journal)
      : name_(name), kind_(kind), journal(journal) {}
  int init() override { return 1; }
  void term() override { journal.push_back(name_ + " factory term"); }
  const char* name() override { return name_.c_str(); }
  float version() override { return 1.0f; }
  int kind() override { return kind_; }
  const char* author() override { return "Test"; }
  const char* shortDescription() override { return "fake"; }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* client) override {
    journal.push_back(name_ + " newSession");
    if (nullSession) return nullptr;
    FakeSession* session = new FakeSession(client, name_, journal, answer, initThrows);
    session->withSetupPage = withSetupPage;
    return session;
  }
  void deleteSession(PlugsObject* session) override {
    journal.push_back(name_ + " deleteSession");
    delete session;
  }

  bool nullSession = false;
  bool initThrows = false;
  bool withSetupPage = false;
  int answer = -1;

 private:
  std::string name_;
  int kind_;
  Lines& journal;
};

// Clients over real managers: fixture plug-in modules copied into Plugins, or factories of the
// test known to the managers as loaded.
class ClientTest : public ClientFolderTest {
 protected:
  void TearDown() override {
    // Sessions go first, as at the term step, so every plug-in gets its own back.
    for (Client* client : clients) {
      client->deleteSessions();
      delete client;
    }
    clients.clear();
    if (managers) managers->unloadAll();
    ClientFolderTest::TearDown();
  }

  // Copies fixture plug-ins in and loads the folder; registry: "+Name"/"-Name" entries.
  void loadPlugins(std::initializer_list<const char*> files, const char* registry = "") {
    for (const char* file : files)
      std::filesystem::copy_file(std::string(FIXTURE_PLUGINS_DIR) + "/" + file,
                                 std::string("Plugins/") + file);
    if (registry[0] != '\0') writeIni(".\\Vornith.ini", "System", "Plugs0000", registry);
    makeManagers(&hooks);
    managers->loadAll(".\\Plugins");
  }
  // A factory of this test, known to the managers as a loaded plug-in.
  FakeFactory& fake(const char* name, int kind) {
    fakes.emplace_back(new FakeFactory(name, kind, journal));
    FakeFactory& factory = *fakes.back();
    PlugList& list = *managers->plugList(kind);
    list.emplace_back();
    PlugRecord& record = list.back();
    std::strncpy(record.name, name, PlugRecord::kNameSize - 1);
    record.kind = kind;
    record.flags = PLUG_LOADED;
    record.factory = &factory;
    return factory;
  }
  PlugRecord* plug(const char* name) { return managers->findPlug(name, 0); }
  bool has(const std::string& call) const {
    for (const std::string& c : journal)
      if (c == call) return true;
    return false;
  }

  Client* makeClient(const char* name) {
    clearConsole();
    clients.push_back(new Client(name));
    return clients.back();
  }
  static int nodesOf(PlugRecord* plug, Client* client) {
    int count = 0;
    for (SessionNode* node = plug->sessions; node != nullptr; node = node->next)
      count += node->client == client;
    return count;
  }

  ClientHooks hooks;
  std::vector<Client*> clients;
  Lines journal;
  std::vector<std::unique_ptr<FakeFactory>> fakes;  // outlive the managers
};
