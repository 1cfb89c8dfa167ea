// The client list: which sections of the settings file become clients and in what order, and
// the console transcript of the config loading step with the system plug-ins told of each
// client before any client is initialised.
#include "host/ClientList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/Client.h"
#include "host/Host.h"
#include "host/IniSectionReader.h"
#include "host/PlugsManagers.h"
#include "host/SystemPluginsSession.h"
#include "host/SystemSettings.h"
#include "host/SystemWindow.h"
#include "host/tests/ConsolePane.h"
#include "platform/tests/TempFolder.h"

namespace {

std::vector<std::string> sectionsOf(IniSectionReader& reader) {
  std::vector<std::string> names;
  while (reader.hasNext()) names.push_back(reader.next());
  return names;
}

// Runs each test inside a fresh folder: the settings file is named relative to it.
class InFolder {
 public:
  InFolder() : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder.path());
  }
  ~InFolder() { std::filesystem::current_path(previous); }

  TempFolder folder;
  std::filesystem::path previous;
};

TEST(IniSectionReaderTest, EverySystemSectionIsSkippedAndTheRestComeInFileOrder) {
  struct Case {
    const char* file;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {nullptr, {}},
      {"[System]\nPosX=1\n", {}},
      {"[System]\n[beta]\n[alpha]\n", {"beta", "alpha"}},
      // Consecutive variants, at the start, in the middle and at the end.
      {"[SYSTEM]\n[system]\n[alpha]\n[sYsTeM]\n[System]\n[beta]\n[SyStEm]\n", {"alpha", "beta"}},
      {"[Systems]\n[System ]\n[alpha]\n", {"Systems", "alpha"}},
  };
  for (const Case& test : cases) {
    InFolder here;
    if (test.file != nullptr) {
      ASSERT_TRUE(here.folder.write("Vornith.ini", test.file));
    }
    IniSectionReader reader;
    SCOPED_TRACE(test.file != nullptr ? test.file : "(no file)");
    EXPECT_EQ(test.names, sectionsOf(reader));
    reader.rewind();
    EXPECT_EQ(test.names, sectionsOf(reader)) << "rewind starts over";
    EXPECT_FALSE(reader.hasNext());
    EXPECT_STREQ("", reader.next()) << "reading past the end stays at the end";
  }
}

TEST(IniSectionReaderTest, NamesThatDifferOnlyInCaseAreTwoSectionsInTheirPlaces) {
  InFolder here;
  ASSERT_TRUE(here.folder.write("Vornith.ini", "[alpha]\nServer0=a:1\n[beta]\n[Alpha]\n"));
  IniSectionReader reader;
  std::vector<std::string> names = sectionsOf(reader);
  EXPECT_EQ((std::vector<std::string>{"alpha", "beta", "Alpha"}), names);
}

// Notes each new client in the console, so the transcript shows when the plug-ins hear of it.
class AnnouncedSession : public SystemPluginsSession {
 public:
  using SystemPluginsSession::SystemPluginsSession;
  void onNewClient(const char* clientName) override { printSystem("<new %s>", clientName); }
};

// The host objects a client may reach while it is built, with the console in a pane of its own.
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

  ClientList& build(const char* file) {
    EXPECT_TRUE(here->folder.write("Vornith.ini", file));
    list.reset(new ClientList());
    return *list;
  }
  // The console's text, and the colour ("#bbggrr") of the run that holds a piece of it.
  std::string transcript() {
    std::string text;
    for (const std::string& run : runs()) text += run.substr(0, run.rfind(" #"));
    for (char& c : text)
      if (c == '\r') c = '\n';
    return text;
  }
  std::string colourOf(const std::string& piece) {
    for (std::string run : runs()) {
      for (char& c : run)
        if (c == '\r') c = '\n';
      size_t mark = run.rfind(" #");
      if (run.substr(0, mark).find(piece) != std::string::npos) return run.substr(mark + 1);
    }
    return "(absent)";
  }
  std::vector<Client*> clients() {
    std::vector<Client*> all;
    list->getClients().forEach([&all](Client*& client) { all.push_back(client); });
    return all;
  }

  std::unique_ptr<InFolder> here;
  SdkFunctions table = {};
  std::unique_ptr<ClientList> list;
};

const char* const blue = "#ff4000";
const char* const black = "#000000";

TEST_F(ClientListTest, OnlyTheHostSectionPrintsTheThreeStepLinesAndMakesNoClient) {
  ClientList& made = build("[System]\nPosX=3\n[SYSTEM]\n");
  EXPECT_TRUE(made.getClients().isEmpty());
  EXPECT_EQ(
      "- Config loading step :\n- Init all loaded config...\n- End of Config loading step\n\n",
      transcript());
  EXPECT_EQ(blue, colourOf("- End of Config loading step"));
}

TEST_F(ClientListTest, EveryClientIsReadAndAnnouncedBeforeAnyIsInitialised) {
  build("[System]\n[beta]\n[alpha]\n[gamma]\n");
  EXPECT_EQ(3u, clients().size());
  std::string all = transcript();
  EXPECT_EQ(0u, all.find("- Config loading step :\n")) << all;
  EXPECT_EQ(blue, colourOf("- Config loading step :"));
  EXPECT_EQ(black, colourOf("Read alpha... \n"));
  EXPECT_EQ(blue, colourOf("- Init all loaded config...\n"));
  // Each client is announced right after it was read and before the next is read.
  size_t at = 0;
  for (const char* name : {"beta", "alpha", "gamma"}) {
    size_t read = all.find(std::string("Read ") + name + "... \n", at);
    size_t announced = all.find(std::string("<new ") + name + ">", at);
    ASSERT_NE(std::string::npos, read) << all;
    ASSERT_NE(std::string::npos, announced) << all;
    EXPECT_LT(read, announced) << all;
    at = announced;
  }
  size_t init = all.find("- Init all loaded config...\n");
  EXPECT_LT(at, init) << all;
  const std::string last = "- End of Config loading step\n\n";
  EXPECT_EQ(all.size() - last.size(), all.find(last)) << all;
}

TEST_F(ClientListTest, LookUpsAnswerForClientsOfTheListOnly) {
  ClientList& made = build("[beta]\n[alpha]\n[ALPHA]\n");
  std::vector<Client*> all = clients();
  ASSERT_FALSE(all.empty());
  for (Client* client : all) EXPECT_TRUE(made.contains(client));
  Client* stranger = reinterpret_cast<Client*>(&made);
  EXPECT_FALSE(made.contains(stranger));
  EXPECT_FALSE(made.contains(nullptr));
  EXPECT_EQ(nullptr, made.findClient(nullptr));
  EXPECT_EQ(nullptr, made.findClient("gamma"));
  made.removeClient("gamma");
  EXPECT_EQ(all.size(), clients().size()) << "an unknown name removes nothing";

  ASSERT_EQ(3u, all.size());
  // Case twins: the first in file order answers, and removing takes that one.
  EXPECT_EQ(all[1], made.findClient("Alpha"));
  EXPECT_EQ(all[0], made.findClient("BETA"));
  made.removeClient("alpha");
  EXPECT_FALSE(made.contains(all[1]));
  EXPECT_EQ(all[2], made.findClient("alpha"));
  EXPECT_EQ(2u, clients().size());
  // By identity (as Kill removes): the named twin goes, not the first of its name.
  made.removeClient("beta");
  made.removeClient(all[2]);
  EXPECT_TRUE(clients().empty());
}

}  // namespace
