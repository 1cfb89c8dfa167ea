// Test support for the plug-ins managers: a console pane to read what they print, a fresh
// plug-ins folder per test filled with chosen fixture plug-ins, and a settings file of its own.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/PlugsManagers.h"
#include "lib/IniFile.h"
#include "host/tests/ConsolePane.h"

// What the managers ask of clients and the system session, as "call name" lines.
class RecordingHooks : public PlugsHooks {
 public:
  bool clientLoadPlug(Client* client, PlugRecord* record) override {
    calls.push_back(std::string("load ") + record->name);
    return client != refusingClient;
  }
  // Drops the client's session as a client does before its plug-in goes off.
  void clientUnloadPlug(Client*, PlugRecord* record) override {
    calls.push_back(std::string("unload ") + record->name);
    if (!dropSessions) return;
    PlugsObject* session = record->sessions->session;
    record->factory->deleteSession(session);
    record->removeSession(session);
  }
  bool systemLoadPlug(PlugRecord* record) override {
    calls.push_back(std::string("system load ") + record->name);
    return true;
  }
  void refreshPage(int kind) override { calls.push_back("page " + std::to_string(kind)); }

  std::vector<std::string> calls;
  Client* refusingClient = nullptr;
  bool dropSessions = false;
};

class PlugsTest : public ConsolePaneTest {
 protected:
  void SetUp() override {
    ConsolePaneTest::SetUp();
    if (IsSkipped()) return;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::filesystem::current_path() / (std::string("plugs-") + test->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    settings = (folder / "Vornith.ini").string();
    table.size = sizeof table;
  }
  void TearDown() override {
    managers.reset();
    for (HMODULE module : held) FreeLibrary(module);
    std::filesystem::remove_all(folder);
    ConsolePaneTest::TearDown();
  }

  // Copies fixture plug-ins into the folder; returns the path of the last one as the host sees it.
  std::string add(std::initializer_list<const char*> files) {
    std::string path;
    for (const char* file : files) {
      std::filesystem::copy_file(std::string(FIXTURE_PLUGINS_DIR) + "/" + file, folder / file);
      path = pathOf(file);
    }
    return path;
  }
  std::string pathOf(const char* file) { return folder.string() + "\\" + file; }
  // Keeps the module mapped after the host frees it, so its journal can still be read.
  void hold(const char* file) { held.push_back(LoadLibraryA(pathOf(file).c_str())); }
  std::string journal(const char* file) {
    HMODULE module = LoadLibraryA(pathOf(file).c_str());
    auto read = reinterpret_cast<const char* (*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "fixtureJournal")));
    std::string text = read ? read() : "(no journal)";
    FreeLibrary(module);
    return text;
  }
  // True when the host no longer keeps the module mapped (a loaded module cannot be overwritten).
  bool unmapped(const char* file) {
    return CopyFileA(pathOf(file).c_str(), (folder / "probe").string().c_str(), FALSE) &&
           CopyFileA((folder / "probe").string().c_str(), pathOf(file).c_str(), FALSE);
  }
  void writeKey(const char* key, const char* value) {
    IniFile ini(settings.c_str());
    ini.setSection("System");
    ini.writeString(key, value);
  }
  std::string readKey(const char* key) {
    IniFile ini(settings.c_str());
    ini.setSection("System");
    char value[4096] = {};
    ini.getString(key, value, sizeof value, "(missing)");
    return value;
  }
  PlugsManagers& loadAll() {
    managers.reset(new PlugsManagers(&table, settings.c_str(), &hooks));
    managers->loadAll(folder.string().c_str());
    return *managers;
  }

  std::filesystem::path folder;
  std::string settings;
  SdkFunctions table = {};
  RecordingHooks hooks;
  std::unique_ptr<PlugsManagers> managers;
  std::vector<HMODULE> held;
};
