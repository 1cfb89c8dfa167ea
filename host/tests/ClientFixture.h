// Test support for a client's own logic: a temp program folder as the working folder, fake
// plug-in sessions of every kind and a fake system plug-ins holder that write every call they
// get into one journal, and records that hand those sessions to the client.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/Client.h"
#include "host/Host.h"
#include "host/PlugsManagers.h"
#include "host/SystemPluginsSession.h"
#include "host/tests/ConsolePane.h"
#include "platform/tests/TempFolder.h"
#include "sdk/PlugsAddinSession.h"
#include "sdk/PlugsInOutSession.h"
#include "sdk/PlugsMainSession.h"

namespace clienttest {

inline std::vector<std::string>& journal() {
  static std::vector<std::string> lines;
  return lines;
}
inline void note(const std::string& line) { journal().push_back(line); }

// "Server=h Port=1" for the variables of a record.
inline std::string varsOf(const EventData* data) {
  std::string text;
  for (int i = 0; data && i < data->count; ++i) {
    if (!text.empty()) text += " ";
    text += std::string(data->vars[2 * i]) + "=" + data->vars[2 * i + 1];
  }
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
    SessionRecord* main = &client->getMainRecord();
    if (main->plug == record) drop(main);
    for (auto* list : {&client->getAddins(), &client->getInOuts()})
      for (ListNode<SessionRecord*>* node = list->headNode(); node; node = node->next)
        if (node->value->plug == record) drop(node->value);
  }
  static void drop(SessionRecord* sessionRecord) {
    sessionRecord->plug->removeSession(sessionRecord->session);
    sessionRecord->session = nullptr;
  }
};

// Each test runs in a fresh program folder with a console pane, plug-ins managers and a fake
// system holder as the process globals, and restores all of them.
class ClientTest : public ConsolePaneTest {
 protected:
  void SetUp() override {
    ConsolePaneTest::SetUp();
    if (IsSkipped()) return;
    ASSERT_FALSE(folder.path().empty());
    saved = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    journal().clear();
    table.size = sizeof table;
    managers.reset(new PlugsManagers(&table, ".\\Vornith.ini", &hooks));
    plugsManagers = managers.get();
    system.reset(new FakeSystem(*managers));
    systemPluginsSession = system.get();
  }
  void TearDown() override {
    client.reset();
    systemPluginsSession = nullptr;
    plugsManagers = nullptr;
    system.reset();
    managers.reset();
    if (!saved.empty()) std::filesystem::current_path(saved);
    ConsolePaneTest::TearDown();
  }

  Client& makeClient(const char* name = "alpha") {
    client.reset(new Client(name));
    return *client;
  }
  // A record of kind (7 main, 8 add-in, 9 in/out) that the managers know, with session.
  PlugRecord* plug(const char* name, int kind) {
    PlugList* list = managers->plugList(kind);
    list->emplace_back();
    PlugRecord* record = &list->back();
    std::strncpy(record->name, name, PlugRecord::kNameSize - 1);
    record->kind = kind;
    record->flags = PLUG_LOADED;
    return record;
  }
  SessionRecord* use(PlugRecord* record, PlugsObject* session) {
    if (session) record->addSession(session, client.get());
    if (record->kind == 7) {
      client->getMainRecord() = SessionRecord{0, record, session};
      return &client->getMainRecord();
    }
    SessionRecord* sessionRecord = new SessionRecord{0, record, session};
    (record->kind == 8 ? client->getAddins() : client->getInOuts()).add(sessionRecord, false);
    return sessionRecord;
  }
  std::string console() {
    std::string text;
    for (const auto& run : vorntest::richEditRuns(pane->getHwnd())) text += run.text;
    for (char& c : text)
      if (c == '\r') c = '\n';
    return text;
  }

  // The pane's runs ("text #colour") with its CR line ends shown as LF.
  std::vector<std::string> shownRuns() {
    std::vector<std::string> out = runs();
    for (std::string& run : out)
      for (char& c : run)
        if (c == '\r') c = '\n';
    return out;
  }

  TempFolder folder;
  std::filesystem::path saved;
  SdkFunctions table = {};
  DroppingHooks hooks;
  std::unique_ptr<PlugsManagers> managers;
  std::unique_ptr<FakeSystem> system;
  std::unique_ptr<Client> client;
};

}  // namespace clienttest
