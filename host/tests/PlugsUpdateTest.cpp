// Replacing a running plug-in with a new build of it (sessions' state carried over) and
// installing the file of a new plug-in, against real plug-in modules and the exact console lines.
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/tests/PlugsFixture.h"
#include "sdk/PlugsObject.h"

namespace {

// Clients as the managers see them: each drops its session when the plug-in goes off and
// makes a new one in the same node when it comes back.
class SessionHooks : public RecordingHooks {
 public:
  bool clientLoadPlug(Client* client, PlugRecord* record) override {
    RecordingHooks::clientLoadPlug(client, record);
    for (SessionNode* node = record->sessions; node != nullptr; node = node->next)
      if (node->client == client && node->session == nullptr)
        node->session = record->factory->newSession(names[client].c_str());
    return true;
  }
  void clientUnloadPlug(Client* client, PlugRecord* record) override {
    RecordingHooks::clientUnloadPlug(client, record);
    for (SessionNode* node = record->sessions; node != nullptr; node = node->next) {
      if (node->client != client || node->session == nullptr) continue;
      record->factory->deleteSession(node->session);
      node->session = nullptr;
    }
  }
  std::map<Client*, std::string> names;
};

const int kMiB = 1024 * 1024;
const COLORREF kGreen = RGB(0, 128, 0), kGrey = RGB(64, 64, 64), kRed = RGB(128, 0, 0);

class PlugsUpdateTest : public PlugsTest {
 protected:
  void TearDown() override {
    dropSessions();
    PlugsTest::TearDown();
  }

  // v1 running with two clients' sessions: alice's made first, so bob's node heads the list.
  PlugRecord* startV1(const char* registry = nullptr) {
    add({"Updatable1.vma"});
    if (registry != nullptr) writeKey("Plugs0000", registry);
    managers.reset(new PlugsManagers(&table, settings.c_str(), &clients));
    managers->loadAll(folder.string().c_str());
    PlugRecord* record = managers->findPlug("Updatable", PLUG_KIND_MAIN);
    if (record == nullptr || !record->isLoaded()) return record;
    for (Client* client : {alice, bob}) {
      clients.names[client] = client == alice ? "alice" : "bob";
      record->addSession(nullptr, client);
      clients.clientLoadPlug(client, record);
    }
    clearConsole();
    return record;
  }
  void dropSessions() {
    if (!managers) return;
    PlugRecord* record = managers->findPlug("Updatable", 0);
    if (record != nullptr && record->isLoaded()) managers->unloadPlug(record);
    managers.reset();
  }
  // A new file as the user names it: outside the plug-ins folder, with backslashes.
  std::string incoming(const char* file, const char* as = nullptr) {
    std::filesystem::create_directories(folder / "incoming");
    std::filesystem::copy_file(std::string(FIXTURE_PLUGINS_DIR) + "/" + file,
                               folder / "incoming" / (as ? as : file));
    return folder.string() + "\\incoming\\" + (as ? as : file);
  }
  void setBackup(const char* file, int size, int throwing) {
    HMODULE module = LoadLibraryA(pathOf(file).c_str());
    auto set = reinterpret_cast<void (*)(int, int)>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "setFixtureBackup")));
    ASSERT_NE(nullptr, set);
    set(size, throwing);
    FreeLibrary(module);
  }
  std::string bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::vector<std::pair<COLORREF, std::string>> runs() {
    std::vector<std::pair<COLORREF, std::string>> all;
    for (const auto& run : vorntest::richEditRuns(pane->getHwnd())) {
      std::string text = run.text;
      for (char& c : text)
        if (c == '\r') c = '\n';
      all.emplace_back(run.colour, text);
    }
    return all;
  }

  SessionHooks clients;
  int ids[2] = {};
  Client* alice = reinterpret_cast<Client*>(&ids[0]);
  Client* bob = reinterpret_cast<Client*>(&ids[1]);
};

TEST_F(PlugsUpdateTest, ReplacesARunningPlugInAndRestoresEverySession) {
  PlugRecord* record = startV1();
  ASSERT_NE(nullptr, record);
  setBackup("Updatable1.vma", 32, 0);
  std::string v2 = incoming("Updatable2.vma");
  managers->updatePlug(v2.c_str());

  std::vector<std::pair<COLORREF, std::string>> expected = {
      {kGreen, "Update in hand...\n"},
      {kGrey, "- Backup done.\n- Old plugs unloaded (v1.00).\n- New file (" + v2 +
                  ") copied.\n- New plug loaded (v2.00).\n- Restore done.\n"},
      {kGreen, "Update Terminated.\n"}};
  EXPECT_EQ(expected, runs());
  ASSERT_TRUE(record->isLoaded());
  EXPECT_EQ(record, managers->findPlug("Updatable", PLUG_KIND_MAIN));
  EXPECT_EQ(2.0f, record->factory->version());
  EXPECT_EQ(bytes(folder / "incoming" / "Updatable2.vma"), bytes(folder / "Updatable1.vma"));
  // Each client's state goes back to that client's new session, in the nodes' order.
  EXPECT_EQ(
      "LibVersion SetHandlers GetPlugsFactory init newSession newSession "
      "restore(bob<-bob@1.00) restore(alice<-alice@1.00)",
      journal("Updatable1.vma"));
  EXPECT_EQ(bob, record->sessions->client);
  EXPECT_EQ(alice, record->sessions->next->client);
}

struct BackupCase {
  const char* what;
  int size;
  int throwing;  // 1 getBackupSizeNeeded, 2 backup
  std::string backupLines;
  std::string restored;
};

// Nothing, a negative or an absurd size, or a throwing call: that session gets no restore.
TEST_F(PlugsUpdateTest, BackupSizesAndFailures) {
  const std::string sizeFailed =
      "Backup failed : A critical error has been detected calling the method "
      "'getBackupSizeNeeded' !\n";
  const std::string backupFailed =
      "Backup failed : A critical error has been detected calling the method 'backup' !\n";
  const std::vector<BackupCase> cases = {
      {"none", 0, 0, "", ""},
      {"negative", -5, 0, "", ""},
      {"largest", 16 * kMiB, 0, "", " restore(bob<-bob@1.00) restore(alice<-alice@1.00)"},
      {"absurd", 16 * kMiB + 1, 0, sizeFailed + sizeFailed, ""},
      {"size throws", 8, 1, sizeFailed + sizeFailed, ""},
      {"backup throws", 8, 2, backupFailed + backupFailed, ""},
  };
  for (const BackupCase& c : cases) {
    SCOPED_TRACE(c.what);
    PlugRecord* record = startV1();
    ASSERT_NE(nullptr, record);
    setBackup("Updatable1.vma", c.size, c.throwing);
    std::string v2 = incoming("Updatable2.vma");
    managers->updatePlug(v2.c_str());
    EXPECT_EQ("Update in hand...\n" + c.backupLines +
                  "- Backup done.\n- Old plugs unloaded (v1.00).\n" + "- New file (" + v2 +
                  ") copied.\n- New plug loaded (v2.00).\n" +
                  "- Restore done.\nUpdate Terminated.\n",
              console());
    EXPECT_EQ("LibVersion SetHandlers GetPlugsFactory init newSession newSession" + c.restored,
              journal("Updatable1.vma"));
    if (!c.backupLines.empty()) {
      auto all = runs();
      ASSERT_LT(2u, all.size());
      EXPECT_EQ(std::make_pair(kRed, std::string("Backup failed : ")), all[1]);
    }
    EXPECT_TRUE(vorntest::shownMessageBoxes().empty());
    dropSessions();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
}

TEST_F(PlugsUpdateTest, SwitchedOffPlugInOnlyGetsItsFileReplaced) {
  PlugRecord* record = startV1("-Updatable");
  ASSERT_NE(nullptr, record);
  ASSERT_FALSE(record->isLoaded());
  clearConsole();
  std::string v2 = incoming("Updatable2.vma");
  managers->updatePlug(v2.c_str());
  EXPECT_EQ("Update in hand...\n- Previous plugin not loaded.\n- New file (" + v2 +
                ") copied.\nUpdate Terminated.\n",
            console());
  EXPECT_FALSE(record->isLoaded());
  EXPECT_EQ(bytes(folder / "incoming" / "Updatable2.vma"), bytes(folder / "Updatable1.vma"));
}

// A module still mapped cannot be overwritten: the update goes on with the old file.
TEST_F(PlugsUpdateTest, FileThatCannotBeReplacedKeepsTheOldVersionRunning) {
  PlugRecord* record = startV1();
  ASSERT_NE(nullptr, record);
  hold("Updatable1.vma");
  std::string v2 = incoming("Updatable2.vma");
  managers->updatePlug(v2.c_str());
  EXPECT_EQ(
      "Update in hand...\n- Backup done.\n- Old plugs unloaded (v1.00).\nUpdate failed : "
      "Impossible to copy '" +
          v2 + "' to " + pathOf("Updatable1.vma") +
          " !\n- New plug loaded (v1.00).\n- Restore done.\nUpdate Terminated.\n",
      console());
  EXPECT_TRUE(record->isLoaded());
}

struct Refused {
  const char* file;
  const char* as;
  const char* message;  // after "Update failed : ", "%s" is the new file
};

// Files that are no plug-in of this host, or of another kind, leave the running one alone.
TEST_F(PlugsUpdateTest, RefusedFilesLeaveThePlugInRunning) {
  const std::vector<Refused> cases = {
      {"Updatable2.vma", "notes.vma", "The new file '%s' is not a plugin !\n"},
      {"NoExport.vad", nullptr,
       "The new file '%s' is not compatible with this Vornith' version !\n"},
      {"NoFactory.vad", nullptr,
       "The new file '%s' is not compatible with this Vornith' version !\n"},
      {"UpdatableAddin.vad", nullptr,
       "The new version of the plugin named 'Updatable' has different type !\n"},
  };
  PlugRecord* record = startV1();
  ASSERT_NE(nullptr, record);
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.file);
    std::string path = incoming(c.file, c.as);
    if (c.as != nullptr) std::ofstream(folder / "incoming" / c.as) << "plain text";
    managers->updatePlug(path.c_str());
    std::string expected = c.message;
    size_t at = expected.find("%s");
    if (at != std::string::npos) expected.replace(at, 2, path);
    EXPECT_EQ("Update failed : " + expected, console());
    auto all = runs();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(kRed, all[0].first);
    EXPECT_TRUE(record->isLoaded());
    EXPECT_EQ(1.0f, record->factory->version());
    // The probe is gone: its file can be overwritten again.
    EXPECT_TRUE(CopyFileA(pathOf("Updatable1.vma").c_str(), path.c_str(), FALSE));
    clearConsole();
  }
}

TEST_F(PlugsUpdateTest, UnknownNameIsInstalledAtTheFrontOfItsKind) {
  for (const char* file : {"GoodAddin.vad", "GoodSystem.vsy"}) add({file});
  add({"GoodMain.vma"});
  std::filesystem::remove(folder / "GoodAddin.vad");
  std::filesystem::remove(folder / "GoodSystem.vsy");
  PlugsManagers& plugs = loadAll();
  clearConsole();
  hooks.calls.clear();
  for (const char* file : {"GoodAddin.vad", "GoodSystem.vsy"}) {
    SCOPED_TRACE(file);
    std::string path = incoming(file);
    plugs.updatePlug(path.c_str());
    PlugRecord* record = plugs.findPlug(file[4] == 'A' ? "Good_Addin2" : "GoodSystem", 0);
    ASSERT_NE(nullptr, record);
    std::string extension = std::string(file).substr(std::string(file).find('.'));
    EXPECT_EQ("Update Info : The plugs' name '" + std::string(record->name) +
                  "' has not been found !\n- New file (" + path + ") copied.\nExtention : " +
                  extension + "\n- Load the new plug.\nNew Plugin found : " + record->name +
                  " created by Fixture Maker version 1.25 : Loaded.\n",
              console());
    EXPECT_EQ(RGB(0, 0, 128), runs()[0].first);
    EXPECT_EQ(pathOf(file), record->file);
    EXPECT_EQ(record, &plugs.plugList(record->kind)->front());
    EXPECT_TRUE(record->isLoaded());
    clearConsole();
  }
  EXPECT_EQ((std::vector<std::string>{"page 8", "page 1", "system load GoodSystem"}), hooks.calls);
}

TEST_F(PlugsUpdateTest, InstallWithoutExtensionCopiesThenRefuses) {
  add({"GoodMain.vma"});
  PlugsManagers& plugs = loadAll();
  clearConsole();
  std::string path = incoming("GoodAddin.vad", "Addin");
  plugs.installPlug(path.c_str());
  EXPECT_EQ("- New file (" + path +
                ") copied.\nExtention : \nUpdate failed : Invalid extension for "
                "the file : " +
                pathOf("Addin") + " !\n",
            console());
  EXPECT_TRUE(std::filesystem::exists(folder / "Addin")) << "the copy stays";
  EXPECT_EQ(nullptr, plugs.findPlug("Good_Addin2", 0));
}

}  // namespace
