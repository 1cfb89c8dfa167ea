// The plug-ins managers against real plug-in modules: the scan order and its lines, each
// refusal with its exact text and no module left mapped, the fault boxes, reload and unload.
#include <string>
#include <vector>

#include "host/tests/PlugsFixture.h"
#include "sdk/PlugsObject.h"

namespace {

std::string found(const char* name, bool isNew = true) {
  return std::string(isNew ? "New " : "") + "Plugin found : " + name +
         " created by Fixture Maker version 1.25 : " + (isNew ? "Loaded.\n" : "Not loaded.\n");
}

TEST_F(PlugsTest, ScansEachKindInOrderAndStartsNewPlugins) {
  add({"GoodInOut.vio", "GoodAddin.vad", "GoodMain.vma", "GoodSystem.vsy"});
  PlugsManagers& plugs = loadAll();
  EXPECT_EQ("- Plugins loading step :\n. Directory = " + folder.string() + "\\\n" +
                ". Look for 'system' plugins...\n" + found("GoodSystem") +
                ". Look for 'main' plugins...\n" + found("GoodMain") +
                ". Look for 'addins' plugins...\n" + found("Good_Addin2") +
                ". Look for 'inout' plugins...\n" + found("GoodInOut") +
                "- End of Plugins loading step\n\n",
            console());
  EXPECT_EQ((std::vector<std::string>{"page 1", "page 7", "page 8", "page 9"}), hooks.calls);
  EXPECT_EQ("LibVersion SetHandlers GetPlugsFactory init", journal("GoodMain.vma"));
  PlugRecord* main = plugs.findPlug("goodmain", 0);
  ASSERT_NE(nullptr, main);
  EXPECT_EQ(unsigned(PLUG_NEW | PLUG_LOADED), main->flags);
  EXPECT_EQ(PLUG_KIND_MAIN, main->kind);
  EXPECT_EQ(pathOf("GoodMain.vma"), main->file);
  EXPECT_EQ(nullptr, plugs.findPlug("GoodMain", PLUG_KIND_ADDIN)) << "kind narrows the search";
  EXPECT_NE(nullptr, plugs.findPlug("GOOD_ADDIN2", PLUG_KIND_ADDIN));
}

TEST_F(PlugsTest, FoundLineColours) {
  add({"GoodMain.vma"});
  loadAll();
  std::vector<vorntest::RichTextRun> all = vorntest::richEditRuns(pane->getHwnd());
  size_t at = 0;
  while (at < all.size() && all[at].text.find("New ") == std::string::npos) ++at;
  ASSERT_LT(at + 8, all.size());
  const COLORREF green = RGB(0, 128, 0), black = 0, value = RGB(0, 0, 192);
  std::vector<COLORREF> expected = {green, black, value, black, value, black, value, green};
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(expected[i], all[at + i].colour) << "run " << i << ": " << all[at + i].text;
}

struct Refusal {
  const char* file;
  std::string message;  // after "Load Error : ", with "%s" for the path
};

TEST_F(PlugsTest, RefusalsPrintTheirMessageAndLeaveNoModule) {
  const std::string invalidName = "The plugins '%s' has its name invalid !\n";
  const std::vector<Refusal> refusals = {
      {"WrongKind.vma", "The plugins '%s' has its type invalid !\n"},
      {"BadName.vad", invalidName + "(The name need to be alphanumeric, without space.)\n"},
      {"EmptyName.vad", invalidName + "(The name need to be alphanumeric, without space.)\n"},
      {"TooLongName.vad", invalidName + "(The name is too long, lenght max = 127)\n"},
      {"SameName.vad",
       "The name 'goodMAIN' of the plugin '%s' has already used by another plugin (GoodMain) !\n"},
      {"OldVersion.vad", "The plugins '%s' has its version incompatible !\n"},
      {"NoHandlers.vad", "The plugins '%s' has its version incompatible !\n"},
      {"NoFactory.vad",
       "The plugins '%s' has no factory !\n(A instance of a factory "
       "(VornithPlugsFactory) need to be created in the plug-in.)\n"},
      {"NoExport.vad", "'%s' is not a compatible plug-ins for Vornith 2.0 !\n"},
  };
  add({"GoodMain.vma"});
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.file);
    std::string path = add({refusal.file});
    PlugsManagers& plugs = loadAll();
    std::string expected = refusal.message;
    expected.replace(expected.find("%s"), 2, path);
    EXPECT_NE(std::string::npos, console().find("Load Error : " + expected + ". Look for"))
        << console();
    EXPECT_EQ(1u, plugs.plugList(PLUG_KIND_MAIN)->size());
    EXPECT_TRUE(plugs.plugList(PLUG_KIND_ADDIN)->empty());
    EXPECT_TRUE(unmapped(refusal.file));
    managers.reset();
    std::filesystem::remove(folder / refusal.file);
    clearConsole();
  }
  EXPECT_TRUE(vorntest::shownMessageBoxes().empty());
}

TEST_F(PlugsTest, NameOf127CharactersIsAccepted) {
  add({"LongestName.vad"});
  PlugsManagers& plugs = loadAll();
  ASSERT_EQ(1u, plugs.plugList(PLUG_KIND_ADDIN)->size());
  EXPECT_EQ(127u, std::string(plugs.plugList(PLUG_KIND_ADDIN)->front().name).size());
}

TEST_F(PlugsTest, ThrowingInitShowsTheBoxAndRefusesTheFile) {
  std::string path = add({"InitThrows.vad", "GoodAddin.vad"});
  path = pathOf("InitThrows.vad");
  vorntest::answerNextMessageBox(IDOK);
  PlugsManagers& plugs = loadAll();
  auto boxes = vorntest::shownMessageBoxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Plugin's Critical Error !!!", boxes[0].caption);
  EXPECT_EQ("Critical error loading the file : " + path + ".", boxes[0].text);
  EXPECT_EQ(UINT(MB_ICONHAND), boxes[0].flags);
  EXPECT_EQ(nullptr, plugs.findPlug("InitThrows", 0));
  EXPECT_NE(nullptr, plugs.findPlug("Good_Addin2", 0)) << "the scan goes on";
  EXPECT_TRUE(unmapped("InitThrows.vad"));
}

TEST_F(PlugsTest, PathLongerThanTheRecordIsRefused) {
  PlugsManagers plugs(&table, settings.c_str());
  PlugRecord record;
  std::string path = folder.string() + "/" + std::string(300, 'p') + ".vma";
  EXPECT_FALSE(plugs.loadPlugFile(record, PLUG_KIND_MAIN, path.c_str(), true));
  EXPECT_EQ("Load Error : The plugins '" + path + "' has its path too long !\n", console());
}

TEST_F(PlugsTest, UnloadAndReloadKeepTheSessionNodes) {
  add({"GoodMain.vma"});
  hold("GoodMain.vma");
  PlugsManagers& plugs = loadAll();
  PlugRecord* record = plugs.findPlug("GoodMain", PLUG_KIND_MAIN);
  ASSERT_NE(nullptr, record);
  int clients[2];
  Client* first = reinterpret_cast<Client*>(&clients[0]);
  Client* second = reinterpret_cast<Client*>(&clients[1]);
  PlugsObject* session = record->factory->newSession("one");
  record->addSession(session, first);
  record->addSession(nullptr, second);
  hooks.calls.clear();

  EXPECT_TRUE(plugs.unloadPlug(record));
  EXPECT_FALSE(record->isLoaded());
  EXPECT_EQ(nullptr, record->factory);
  EXPECT_EQ(nullptr, record->module);
  EXPECT_EQ((std::vector<std::string>{"unload GoodMain", "unload GoodMain"}), hooks.calls);
  hooks.calls.clear();

  hooks.refusingClient = second;
  EXPECT_FALSE(plugs.loadPlug(record)) << "a client refusing makes the load fail";
  EXPECT_TRUE(record->isLoaded());
  EXPECT_EQ((std::vector<std::string>{"load GoodMain", "load GoodMain"}), hooks.calls)
      << "every client is asked";
  EXPECT_EQ(first, plugs.findClientOfSession(session)) << "the nodes survive the reload";
  EXPECT_STREQ("GoodMain", plugs.plugNameOfSession(session));
  EXPECT_EQ(nullptr, plugs.findClientOfSession(reinterpret_cast<PlugsObject*>(&clients[1])));
  EXPECT_TRUE(plugs.loadPlug(record)) << "already loaded";
  record->factory->deleteSession(session);
  record->removeSession(session);
  EXPECT_EQ(
      "LibVersion SetHandlers GetPlugsFactory init newSession term "
      "LibVersion SetHandlers GetPlugsFactory init deleteSession",
      journal("GoodMain.vma"));
}

TEST_F(PlugsTest, ReloadRefusesAChangedName) {
  add({"GoodMain.vma"});
  PlugsManagers& plugs = loadAll();
  PlugRecord* record = plugs.findPlug("GoodMain", 0);
  plugs.unloadPlug(record);
  std::snprintf(record->name, sizeof record->name, "Renamed");
  clearConsole();
  EXPECT_FALSE(plugs.loadPlug(record));
  EXPECT_EQ("The plugins '" + pathOf("GoodMain.vma") +
                "' has changed its name !\n(You need to restart Vornith to reload this plug)\n",
            console());
  EXPECT_FALSE(record->isLoaded());
  EXPECT_TRUE(unmapped("GoodMain.vma"));
}

TEST_F(PlugsTest, SystemPlugInsGoToTheSystemSession) {
  add({"GoodSystem.vsy"});
  PlugsManagers& plugs = loadAll();
  hooks.calls.clear();
  EXPECT_TRUE(plugs.loadPlug(plugs.findPlug("GoodSystem", 0)));
  EXPECT_EQ(std::vector<std::string>{"system load GoodSystem"}, hooks.calls);
}

TEST_F(PlugsTest, UnloadAllTermsEveryPlugInAndKeepsTheirState) {
  add({"GoodMain.vma", "GoodInOut.vio"});
  hold("GoodMain.vma");
  loadAll().unloadAll();
  EXPECT_EQ("LibVersion SetHandlers GetPlugsFactory init term", journal("GoodMain.vma"));
  EXPECT_TRUE(unmapped("GoodInOut.vio"));
  managers.reset();
  EXPECT_EQ("+GoodMain +GoodInOut", readKey("Plugs0000"));
}

// A plug-in operation that throws or faults: the box names it, the plug-in is unloaded and the
// host goes on (here: loads the plug-in again).
TEST_F(PlugsTest, FaultInAnOperationShowsTheBoxAndUnloads) {
  for (const char* file : {"OperationThrows.vad", "OperationFaults.vad"}) {
    SCOPED_TRACE(file);
    add({file});
    PlugsManagers& plugs = loadAll();
    PlugRecord* record = &plugs.plugList(PLUG_KIND_ADDIN)->front();
    PlugsObject* session = record->factory->newSession("client");
    int client = 0;
    record->addSession(session, reinterpret_cast<Client*>(&client));
    hooks.dropSessions = true;
    vorntest::clearMessageBoxes();
    vorntest::answerNextMessageBox(IDOK);
    EXPECT_FALSE(
        plugs.callPlug(record, "onSetupOpen", true, [session] { session->onSetupOpen(); }));
    auto boxes = vorntest::shownMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::string::npos, boxes[0].text.find("'" + std::string(record->name) + "'"));
    EXPECT_NE(std::string::npos, boxes[0].text.find("Calling the method : 'onSetupOpen'"));
    EXPECT_NE(std::string::npos, boxes[0].text.find("This plug is going to be unloaded."));
    EXPECT_FALSE(record->isLoaded());
    EXPECT_EQ(nullptr, record->sessions);
    EXPECT_TRUE(unmapped(file));
    EXPECT_TRUE(plugs.loadPlug(record));
    managers.reset();
    std::filesystem::remove(folder / file);
  }
}

}  // namespace
