// Replacing a running plug-in with a new build of it (sessions' state carried over) and
// installing the file of a new plug-in, against real plug-in modules and the exact console lines.
#include <fstream>
#include <map>

#include "host/tests/PlugsFixture.h"
#include "sdk/PlugsObject.h"

namespace {

// Clients as the managers see them: each drops its session when the plug-in goes off and
// makes a new one in the same node when it comes back.
class SessionHooks : public RecordingHooks {
 public:
  bool clientLoadPlug(Client* client, PlugRecord* record) override {
    for (SessionNode* node = record->sessions; node != nullptr; node = node->next)
      if (node->client == client && node->session == nullptr)
        node->session = record->factory->newSession(names[client].c_str());
    return true;
  }
  void clientUnloadPlug(Client* client, PlugRecord* record) override {
    for (SessionNode* node = record->sessions; node != nullptr; node = node->next) {
      if (node->client != client || node->session == nullptr) continue;
      record->factory->deleteSession(node->session);
      node->session = nullptr;
    }
  }
  std::map<Client*, std::string> names;
};

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
    if (record != nullptr && record->isLoaded())
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
  void setBackup(int size, int throwing) {
    HMODULE module = LoadLibraryA(pathOf("Updatable1.vma").c_str());
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

  SessionHooks clients;
  int ids[2] = {};
  Client* alice = reinterpret_cast<Client*>(&ids[0]);
  Client* bob = reinterpret_cast<Client*>(&ids[1]);
};

// Each client's state goes back to that client's new session, in the nodes' order. Nothing, a
// negative or an absurd size, or a throwing call: that session gets no restore.
TEST_F(PlugsUpdateTest, ReplacesARunningPlugInAndRestoresEverySessionThatCouldBeBackedUp) {
  const std::string failed =
      "Backup failed : A critical error has been detected calling the method ";
  const struct {
    int size;
    int throwing;  // 1 getBackupSizeNeeded, 2 backup
    std::string backupLines;
    std::string restored;
  } cases[] = {
      {32, 0, "", " restore(bob<-bob@1.00) restore(alice<-alice@1.00)"},
      {16 << 20, 0, "", " restore(bob<-bob@1.00) restore(alice<-alice@1.00)"},
      {0, 0, "", ""},
      {-5, 0, "", ""},
      {(16 << 20) + 1, 0, failed + "'getBackupSizeNeeded' !\n", ""},
      {8, 1, failed + "'getBackupSizeNeeded' !\n", ""},
      {8, 2, failed + "'backup' !\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    PlugRecord* record = startV1();
    ASSERT_NE(nullptr, record);
    setBackup(c.size, c.throwing);
    std::string v2 = incoming("Updatable2.vma");
    managers->updatePlug(v2.c_str());
    EXPECT_EQ("Update in hand...\n" + c.backupLines + c.backupLines +
                  "- Backup done.\n- Old plugs unloaded (v1.00).\n- New file (" + v2 +
                  ") copied.\n- New plug loaded (v2.00).\n- Restore done.\nUpdate Terminated.\n",
              console());
    EXPECT_EQ("Update in hand...\n #008000", runs()[0]);
    EXPECT_EQ("LibVersion SetHandlers GetPlugsFactory init newSession newSession" + c.restored,
              journal("Updatable1.vma"));
    EXPECT_EQ(record, managers->findPlug("Updatable", PLUG_KIND_MAIN));
    EXPECT_EQ(2.0f, record->factory->version());
    EXPECT_EQ(bob, record->sessions->client);
    EXPECT_EQ(bytes(folder / "incoming" / "Updatable2.vma"), bytes(folder / "Updatable1.vma"));
    EXPECT_TRUE(vorntest::shownMessageBoxes().empty());
    dropSessions();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
}

TEST_F(PlugsUpdateTest, SwitchedOffPlugInOnlyGetsItsFileReplaced) {
  PlugRecord* record = startV1("-Updatable");
  ASSERT_NE(nullptr, record);
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
  hold("Updatable1.vma");
  std::string v2 = incoming("Updatable2.vma");
  managers->updatePlug(v2.c_str());
  EXPECT_EQ(
      "Update in hand...\n- Backup done.\n- Old plugs unloaded (v1.00).\n"
      "Update failed : Impossible to copy '" +
          v2 + "' to " + pathOf("Updatable1.vma") +
          " !\n- New plug loaded (v1.00).\n- Restore done.\nUpdate Terminated.\n",
      console());
  EXPECT_TRUE(record->isLoaded());
}

// Files that are no plug-in of this host, or of another kind, leave the running one alone.
TEST_F(PlugsUpdateTest, RefusedFilesLeaveThePlugInRunning) {
  const std::string incompatible = "' is not compatible with this Vornith' version !\n";
  const struct {
    const char *file, *as;
    std::string message;  // after "Update failed : The new ", the new file's path in between
  } cases[] = {
      {"Updatable2.vma", "notes.vma", "file '%' is not a plugin !\n"},
      {"NoExport.vad", nullptr, "file '%" + incompatible},
      {"NoFactory.vad", nullptr, "file '%" + incompatible},
      {"UpdatableAddin.vad", nullptr,
       "version of the plugin named 'Updatable' has different type !\n"},
  };
  PlugRecord* record = startV1();
  ASSERT_NE(nullptr, record);
  for (const auto& c : cases) {
    std::string path = incoming(c.file, c.as);
    if (c.as != nullptr) std::ofstream(folder / "incoming" / c.as) << "plain text";
    managers->updatePlug(path.c_str());
    std::string expected = c.message;
    if (expected.find('%') != std::string::npos) expected.replace(expected.find('%'), 1, path);
    EXPECT_EQ("Update failed : The new " + expected, console());
    EXPECT_EQ("Update failed :  #000080", runs()[0]);
    EXPECT_EQ(1.0f, record->factory->version());
    // The probe is gone: its file can be overwritten again.
    EXPECT_TRUE(CopyFileA(pathOf("Updatable1.vma").c_str(), path.c_str(), FALSE)) << c.file;
    clearConsole();
  }
}

TEST_F(PlugsUpdateTest, UnknownNameIsInstalledAtTheFrontOfItsKindAndNeedsAnExtension) {
  add({"GoodMain.vma", "GoodSystem.vsy"});
  PlugsManagers& plugs = loadAll();
  clearConsole();
  hooks.calls.clear();
  std::string path = incoming("GoodAddin.vad");
  plugs.updatePlug(path.c_str());
  PlugRecord* record = plugs.findPlug("Good_Addin2", 0);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ("Update Info : The plugs' name 'Good_Addin2' has not been found !\n- New file (" +
                path + ") copied.\nExtention : .vad\n- Load the new plug.\n" +
                "New Plugin found : Good_Addin2 created by Fixture Maker version 1.25 : Loaded.\n",
            console());
  EXPECT_EQ(pathOf("GoodAddin.vad"), record->file);
  EXPECT_EQ(record, &plugs.plugList(record->kind)->front());
  EXPECT_EQ(Lines{"page 8"}, hooks.calls);

  clearConsole();
  path = incoming("GoodInOut.vio", "InOut");
  plugs.installPlug(path.c_str());
  EXPECT_EQ("- New file (" + path + ") copied.\nExtention : \nUpdate failed : Invalid extension " +
                "for the file : " + pathOf("InOut") + " !\n",
            console());
  EXPECT_TRUE(std::filesystem::exists(folder / "InOut")) << "the copy stays";
  EXPECT_EQ(nullptr, plugs.findPlug("GoodInOut", 0));
}

}  // namespace
