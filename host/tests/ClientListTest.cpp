// The client list: which sections of the settings file become clients and in what order, the
// config loading transcript with the system plug-ins told of each client before any client is
// initialised, and look-ups among case twins.
#include "host/ClientList.h"

#include <memory>

#include "host/Client.h"
#include "host/Host.h"
#include "host/IniSectionReader.h"
#include "host/PlugsManagers.h"
#include "host/SystemPluginsSession.h"
#include "host/SystemSettings.h"
#include "host/SystemWindow.h"
#include "host/tests/ConsolePane.h"

namespace {

TEST(IniSectionReaderTest, EverySystemSectionIsSkippedAndTheRestComeInFileOrder) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {nullptr, {}},
      {"[System]\nPosX=1\n", {}},
      {"[SYSTEM]\n[system]\n[alpha]\n[sYsTeM]\n[beta]\n[SyStEm]\n", {"alpha", "beta"}},
      {"[Systems]\n[System ]\n[alpha]\n", {"Systems", "alpha"}},
      {"[alpha]\nServer0=a:1\n[beta]\n[Alpha]\n", {"alpha", "beta", "Alpha"}},  // case twins
  };
  for (const auto& [file, names] : cases) {
    InFolder here;
    if (file != nullptr) {
      ASSERT_TRUE(here.folder.write("Vornith.ini", file));
    }
    IniSectionReader reader;
    for (int round = 0; round < 2; ++round, reader.rewind()) {
      std::vector<std::string> read;
      while (reader.hasNext()) read.push_back(reader.next());
      EXPECT_EQ(names, read) << (file ? file : "(no file)");
      EXPECT_STREQ("", reader.next()) << "reading past the end stays at the end";
    }
  }
}

// Notes each new client in the console, so the transcript shows when the plug-ins hear of it.
class AnnouncedSession : public SystemPluginsSession {
 public:
  using SystemPluginsSession::SystemPluginsSession;
  void onNewClient(const char* clientName) override { printSystem("<new %s>", clientName); }
};

// The host objects a client may reach while it is built.
class ClientListTest : public ConsolePaneTest {
 protected:
  void SetUp() override {
    ConsolePaneTest::SetUp();
    if (IsSkipped()) return;
    here.reset(new InFolder());
    systemSettings = new SystemSettings();
    systemWindow = new SystemWindow();
    root->addChild(systemWindow);
    setConsole(pane);
    table.size = sizeof table;
    plugsManagers = new PlugsManagers(&table, ".\\Plugs-registry.ini");
    systemPluginsSession = new AnnouncedSession(*plugsManagers);
  }
  void TearDown() override {
    if (here != nullptr) {
      list.reset();
      delete systemPluginsSession;
      systemPluginsSession = nullptr;
      delete plugsManagers;
      plugsManagers = nullptr;
      delete systemWindow;
      systemWindow = nullptr;
      setConsole(pane);
      delete systemSettings;
      systemSettings = nullptr;
      here.reset();
    }
    ConsolePaneTest::TearDown();
  }
  std::vector<Client*> build(const char* file) {
    EXPECT_TRUE(here->folder.write("Vornith.ini", file));
    list.reset(new ClientList());
    std::vector<Client*> all;
    list->getClients().forEach([&all](Client*& client) { all.push_back(client); });
    return all;
  }

  std::unique_ptr<InFolder> here;
  SdkFunctions table = {};
  std::unique_ptr<ClientList> list;
};

TEST_F(ClientListTest, EveryClientIsReadAndAnnouncedBeforeAnyIsInitialised) {
  EXPECT_TRUE(build("[System]\nPosX=3\n").empty());
  EXPECT_EQ(Lines({"- Config loading step :\n- Init all loaded config...\n"
                   "- End of Config loading step\n\n #ff4000"}),
            runs());
  clearConsole();
  EXPECT_EQ(2u, build("[System]\n[beta]\n[alpha]\n").size());
  std::string all = console();
  size_t at = 0;
  for (const char* step : {"- Config loading step :\n", "Read beta... \n", "<new beta>",
                           "Read alpha... \n", "<new alpha>", "- Init all loaded config...\n"}) {
    size_t found = all.find(step, at);
    ASSERT_NE(std::string::npos, found) << step << " in " << all;
    at = found;
  }
}

TEST_F(ClientListTest, LookUpsAnswerForClientsOfTheListOnlyAndTheFirstOfCaseTwins) {
  std::vector<Client*> all = build("[beta]\n[alpha]\n[ALPHA]\n");
  ASSERT_EQ(3u, all.size());
  for (Client* client : all) EXPECT_TRUE(list->contains(client));
  EXPECT_FALSE(list->contains(reinterpret_cast<Client*>(list.get())));
  EXPECT_FALSE(list->contains(nullptr));
  EXPECT_EQ(nullptr, list->findClient(nullptr));
  EXPECT_EQ(nullptr, list->findClient("gamma"));
  list->removeClient("gamma");
  EXPECT_EQ(all[1], list->findClient("Alpha"));
  EXPECT_EQ(all[0], list->findClient("BETA"));
  list->removeClient("alpha");
  EXPECT_FALSE(list->contains(all[1]));
  EXPECT_EQ(all[2], list->findClient("alpha"));
  // By identity (as Kill removes): the named twin goes, not the first of its name.
  list->removeClient("beta");
  list->removeClient(all[2]);
  EXPECT_TRUE(list->getClients().isEmpty());
}

}  // namespace
