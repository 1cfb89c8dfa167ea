// Test support for a client's sessions, setup pages and menu: a program folder of its own with
// fixture plug-ins loaded by real plug-ins managers, clients made in it, and plug-ins made in the
// test itself whose every call is journalled.
#pragma once

#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/Client.h"
#include "host/ClientSetupPages.h"
#include "host/Host.h"
#include "host/PlugsManagers.h"
#include "host/tests/ConsolePane.h"
#include "lib/IniFile.h"
#include "platform/tests/TempFolder.h"
#include "sdk/PlugsObject.h"

// The private state the tests look at or stand in for.
class ClientTestAccess {
 public:
  static int firstCommandId(Client& client) { return client.firstCommandId; }
  // Builds the network page into page, as the init step does into the setup window's page.
  static ClientSetupPages* buildNetworkPage(Client& client, WindowContainer* page) {
    ClientSetupPages* pages = new ClientSetupPages(&client);
    client.attachSetupPages(pages);
    pages->buildNetwork(page);
    return pages;
  }
  static void dropPages(Client& client) { client.attachSetupPages(nullptr); }
};

// What the host gives the managers: clients drop and make their sessions of a plug-in.
class ClientHooks : public PlugsHooks {
 public:
  bool clientLoadPlug(Client* client, PlugRecord* record) override {
    return client->loadPlug(record);
  }
  void clientUnloadPlug(Client* client, PlugRecord* record) override { client->unloadPlug(record); }
};

// A plug-in of the test: the factory hands out sessions that note their calls in a shared
// journal as "<plug-in> <call>".
struct FakeJournal {
  std::vector<std::string> calls;
  void note(const std::string& call) { calls.push_back(call); }
  bool has(const std::string& call) const {
    for (const std::string& c : calls)
      if (c == call) return true;
    return false;
  }
};

class FakeSession : public PlugsObject {
 public:
  FakeSession(const char* client, const std::string& plug, FakeJournal& journal, int answer,
              bool initThrows)
      : PlugsObject(client), plug(plug), journal(journal), answer(answer), initThrows(initThrows) {}
  void init() override {
    journal.note(plug + " init");
    if (initThrows) throw std::runtime_error("init");
  }
  void term() override { journal.note(plug + " term"); }
  void onUserEvent(const char* from, const char* type, void*) override {
    journal.note(plug + " event " + from + " " + type);
  }
  int onRequest(const char* from, char*, int, const char* request, void*) override {
    journal.note(plug + " request " + from + " " + request);
    return answer;
  }

 private:
  std::string plug;
  FakeJournal& journal;
  int answer;
  bool initThrows;
};

class FakeFactory : public VornithPlugsFactory {
 public:
  FakeFactory(const char* name, int kind, FakeJournal& journal)
      : name_(name), kind_(kind), journal(journal) {}
  int init() override { return 1; }
  void term() override { journal.note(name_ + " factory term"); }
  const char* name() override { return name_.c_str(); }
  float version() override { return 1.0f; }
  int kind() override { return kind_; }
  const char* author() override { return "Test"; }
  const char* shortDescription() override { return "fake"; }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* client) override {
    journal.note(name_ + " newSession");
    if (nullSession) return nullptr;
    return new FakeSession(client, name_, journal, answer, initThrows);
  }
  void deleteSession(PlugsObject* session) override {
    journal.note(name_ + " deleteSession");
    delete session;
  }

  bool nullSession = false;
  bool initThrows = false;
  int answer = -1;

 private:
  std::string name_;
  int kind_;
  FakeJournal& journal;
};

// A fresh program folder as the working folder, the fixture plug-ins of files in its Plugins
// folder loaded by plug-ins managers that are the host's for the test's duration.
class ClientTest : public ConsolePaneTest {
 protected:
  void SetUp() override {
    ConsolePaneTest::SetUp();
    if (IsSkipped()) return;
    ASSERT_FALSE(folder.path().empty());
    previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    std::filesystem::create_directories("Plugins");
    table.size = sizeof table;
  }
  void TearDown() override {
    for (Client* client : clients) dropClient(client);
    clients.clear();
    if (managers) managers->unloadAll();
    managers.reset();
    plugsManagers = nullptr;
    if (!previous.empty()) std::filesystem::current_path(previous);
    ConsolePaneTest::TearDown();
  }

  void writeIni(const char* file, const char* section, const char* key, const char* value) {
    IniFile ini(file);
    ini.setSection(section);
    ini.writeString(key, value);
  }
  std::string readIni(const char* file, const char* section, const char* key) {
    IniFile ini(file);
    ini.setSection(section);
    char value[4096] = {};
    ini.getString(key, value, sizeof value, "(missing)");
    return value;
  }
  // Copies fixture plug-ins in and loads the folder; registry: "+Name"/"-Name" entries.
  void loadPlugins(std::initializer_list<const char*> files, const char* registry = "") {
    for (const char* file : files)
      std::filesystem::copy_file(std::string(FIXTURE_PLUGINS_DIR) + "/" + file,
                                 std::string("Plugins/") + file);
    if (registry[0] != '\0') writeIni(".\\Vornith.ini", "System", "Plugs0000", registry);
    managers.reset(new PlugsManagers(&table, ".\\Vornith.ini", &hooks));
    plugsManagers = managers.get();
    managers->loadAll(".\\Plugins");
  }
  void noPlugins() { loadPlugins({}); }
  // A plug-in of this test, known to the managers as loaded.
  PlugRecord* fakePlug(FakeFactory& factory) {
    PlugList& list = *managers->plugList(factory.kind());
    list.emplace_back();
    PlugRecord& record = list.back();
    std::strncpy(record.name, factory.name(), PlugRecord::kNameSize - 1);
    record.kind = factory.kind();
    record.flags = PLUG_LOADED;
    record.factory = &factory;
    return &record;
  }
  PlugRecord* plug(const char* name) { return managers->findPlug(name, 0); }
  FakeFactory& fake(const char* name, int kind) {
    fakes.emplace_back(new FakeFactory(name, kind, journal));
    return *fakes.back();
  }

  Client* makeClient(const char* name) {
    clearConsole();
    Client* client = new Client(name);
    clients.push_back(client);
    return client;
  }
  // Sessions go first, as at the term step, so every plug-in gets its own back.
  void dropClient(Client* client) {
    client->deleteSessions();
    delete client;
  }
  void forget(Client* client) {
    for (auto it = clients.begin(); it != clients.end(); ++it)
      if (*it == client) {
        clients.erase(it);
        break;
      }
  }

  std::string console() {
    std::string text;
    for (const auto& run : vorntest::richEditRuns(pane->getHwnd())) text += run.text;
    for (char& c : text)
      if (c == '\r') c = '\n';
    return text;
  }
  void clearConsole() { SetWindowTextA(pane->getHwnd(), ""); }
  static int nodesOf(PlugRecord* plug, Client* client) {
    int count = 0;
    for (SessionNode* node = plug->sessions; node != nullptr; node = node->next)
      count += node->client == client;
    return count;
  }

  TempFolder folder;
  std::filesystem::path previous;
  SdkFunctions table = {};
  ClientHooks hooks;
  std::unique_ptr<PlugsManagers> managers;
  std::vector<Client*> clients;
  FakeJournal journal;
  std::vector<std::unique_ptr<FakeFactory>> fakes;  // outlive the managers
};
