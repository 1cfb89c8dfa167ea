// The plug-ins managers against real plug-in modules: the scan order and its lines, each
// refusal with its exact text and no module left mapped, the fault boxes, reload and unload,
// and the registry of plug-ins switched on.
#include "host/tests/PlugsFixture.h"
#include "sdk/PlugsObject.h"

namespace {

std::string found(const char* name, bool isNew = true, bool loaded = true) {
  return std::string(isNew ? "New " : "") + "Plugin found : " + name +
         " created by Fixture Maker version 1.25 : " + (loaded ? "Loaded.\n" : "Not loaded.\n");
}

TEST_F(PlugsTest, ScansEachKindInOrderStartsNewPluginsAndWritesTheRegistryInThatOrder) {
  add({"GoodInOut.vio", "GoodAddin.vad", "GoodMain.vma", "GoodSystem.vsy"});
  hold("GoodMain.vma");
  writeKey("Plugs0000", "-GoodInOut");
  PlugsManagers& plugs = loadAll();
  EXPECT_EQ("- Plugins loading step :\n. Directory = " + folder.string() + "\\\n" +
                ". Look for 'system' plugins...\n" + found("GoodSystem") +
                ". Look for 'main' plugins...\n" + found("GoodMain") +
                ". Look for 'addins' plugins...\n" + found("Good_Addin2") +
                ". Look for 'inout' plugins...\n" + found("GoodInOut", false, false) +
                "- End of Plugins loading step\n\n",
            console());
  EXPECT_EQ((Lines{"page 1", "page 7", "page 8", "page 9"}), hooks.calls);
  PlugRecord* main = plugs.findPlug("goodmain", 0);
  ASSERT_NE(nullptr, main);
  EXPECT_EQ(unsigned(PLUG_NEW | PLUG_LOADED), main->flags);
  EXPECT_EQ(pathOf("GoodMain.vma"), main->file);
  EXPECT_EQ(nullptr, plugs.findPlug("GoodMain", PLUG_KIND_ADDIN)) << "kind narrows the search";
  plugs.unloadAll();
  EXPECT_EQ("LibVersion SetHandlers GetPlugsFactory init term", journal("GoodMain.vma"));
  EXPECT_TRUE(unmapped("GoodAddin.vad"));
  managers.reset();
  EXPECT_EQ("+GoodSystem +GoodMain -GoodInOut +Good_Addin2", readKey("Plugs0000"));
}

TEST_F(PlugsTest, RefusalsPrintTheirMessageAndLeaveNoModule) {
  const std::string invalidName = "The plugins '%s' has its name invalid !\n";
  const std::string alphanumeric = "(The name need to be alphanumeric, without space.)\n";
  const std::string incompatible = "The plugins '%s' has its version incompatible !\n";
  const std::pair<const char*, std::string> refusals[] = {
      // message after "Load Error : "
      {"WrongKind.vma", "The plugins '%s' has its type invalid !\n"},
      {"BadName.vad", invalidName + alphanumeric},
      {"EmptyName.vad", invalidName + alphanumeric},
      {"TooLongName.vad", invalidName + "(The name is too long, lenght max = 127)\n"},
      {"SameName.vad",
       "The name 'goodMAIN' of the plugin '%s' has already used by another plugin (GoodMain) !\n"},
      {"OldVersion.vad", incompatible},
      {"NoHandlers.vad", incompatible},
      {"NoFactory.vad",
       "The plugins '%s' has no factory !\n(A instance of a factory "
       "(VornithPlugsFactory) need to be created in the plug-in.)\n"},
      {"NoExport.vad", "'%s' is not a compatible plug-ins for Vornith 2.0 !\n"},
  };
  add({"GoodMain.vma"});
  for (const auto& [file, message] : refusals) {
    std::string expected = message;
    expected.replace(expected.find("%s"), 2, add({file}));
    PlugsManagers& plugs = loadAll();
    EXPECT_NE(std::string::npos, console().find("Load Error : " + expected + ". Look for"))
        << console();
    EXPECT_EQ(1u, plugs.plugList(PLUG_KIND_MAIN)->size()) << file;
    EXPECT_TRUE(plugs.plugList(PLUG_KIND_ADDIN)->empty()) << file;
    EXPECT_TRUE(unmapped(file)) << file;
    managers.reset();
    std::filesystem::remove(folder / file);
    clearConsole();
  }
  EXPECT_TRUE(vorntest::shownMessageBoxes().empty());
  add({"LongestName.vad"});  // the longest name is accepted
  EXPECT_EQ(127u, std::string(loadAll().plugList(PLUG_KIND_ADDIN)->front().name).size());
  managers.reset();
  clearConsole();
  // A path longer than the record is refused before any module is touched.
  PlugRecord record;
  std::string path = folder.string() + "/" + std::string(300, 'p') + ".vma";
  EXPECT_FALSE(PlugsManagers(&table, settings.c_str())
                   .loadPlugFile(record, PLUG_KIND_MAIN, path.c_str(), true));
  EXPECT_EQ("Load Error : The plugins '" + path + "' has its path too long !\n", console());
}

// A module file cut short used to kill the start inside the loader; now each copy is refused with
// its line and the rest of the folder loads.
TEST_F(PlugsTest, DamagedModuleFilesAreRefusedAndTheScanGoesOn) {
  auto refusal = [&](const std::string& file) {
    return "Load Error : The plugins '" + pathOf(file.c_str()) + "' is damaged or is not a module !\n";
  };
  add({"GoodMain.vma", "GoodAddin.vad"});
  std::filesystem::resize_file(folder / "GoodMain.vma", 1000);
  std::vector<std::string> cut;
  for (int size : {1, 1000, 4096, 20000}) {  // the fixture's loaded part ends near 28 KB
    cut.push_back("Cut" + std::to_string(size) + ".vio");
    std::filesystem::copy_file(std::string(FIXTURE_PLUGINS_DIR) + "/GoodInOut.vio",
                               folder / cut.back());
    std::filesystem::resize_file(folder / cut.back(), size);
  }
  PlugsManagers& plugs = loadAll();
  std::string shown = console();
  EXPECT_NE(std::string::npos, shown.find(refusal("GoodMain.vma"))) << shown;
  for (const std::string& file : cut) EXPECT_NE(std::string::npos, shown.find(refusal(file))) << shown;
  EXPECT_TRUE(plugs.plugList(PLUG_KIND_MAIN)->empty());
  EXPECT_TRUE(plugs.plugList(PLUG_KIND_INOUT)->empty());
  EXPECT_NE(nullptr, plugs.findPlug("Good_Addin2", 0)) << "the scan goes on";
}

TEST_F(PlugsTest, ThrowingInitShowsTheBoxAndRefusesTheFile) {
  add({"InitThrows.vad", "GoodAddin.vad"});
  vorntest::answerNextMessageBox(IDOK);
  PlugsManagers& plugs = loadAll();
  auto boxes = vorntest::shownMessageBoxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Critical error loading the file : " + pathOf("InitThrows.vad") + ".", boxes[0].text);
  EXPECT_EQ(nullptr, plugs.findPlug("InitThrows", 0));
  EXPECT_NE(nullptr, plugs.findPlug("Good_Addin2", 0)) << "the scan goes on";
  EXPECT_TRUE(unmapped("InitThrows.vad"));
}

TEST_F(PlugsTest, UnloadAndReloadKeepTheSessionNodesAndRefuseAChangedName) {
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
  EXPECT_EQ(nullptr, record->factory);
  EXPECT_EQ(nullptr, record->module);
  hooks.refusingClient = second;
  EXPECT_FALSE(plugs.loadPlug(record)) << "a client refusing makes the load fail";
  EXPECT_TRUE(record->isLoaded());
  EXPECT_EQ((Lines{"unload GoodMain", "unload GoodMain", "load GoodMain", "load GoodMain"}),
            hooks.calls)
      << "every client is asked";
  EXPECT_EQ(first, plugs.findClientOfSession(session)) << "the nodes survive the reload";
  EXPECT_STREQ("GoodMain", plugs.plugNameOfSession(session));
  EXPECT_TRUE(plugs.loadPlug(record)) << "already loaded";
  record->factory->deleteSession(session);
  record->removeSession(session);
  EXPECT_EQ(
      "LibVersion SetHandlers GetPlugsFactory init newSession term "
      "LibVersion SetHandlers GetPlugsFactory init deleteSession",
      journal("GoodMain.vma"));

  plugs.unloadPlug(record);
  std::snprintf(record->name, sizeof record->name, "Renamed");
  clearConsole();
  EXPECT_FALSE(plugs.loadPlug(record));
  EXPECT_EQ("The plugins '" + pathOf("GoodMain.vma") +
                "' has changed its name !\n(You need to restart Vornith to reload this plug)\n",
            console());
  EXPECT_FALSE(record->isLoaded());
}

// A plug-in operation that throws or faults: the box names it, the plug-in is unloaded and the
// host goes on (here: loads the plug-in again).
TEST_F(PlugsTest, FaultInAnOperationShowsTheBoxAndUnloads) {
  for (const char* file : {"OperationThrows.vad", "OperationFaults.vad"}) {
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
    EXPECT_NE(std::string::npos, boxes[0].text.find("Calling the method : 'onSetupOpen'"));
    EXPECT_FALSE(record->isLoaded()) << file;
    EXPECT_EQ(nullptr, record->sessions);
    EXPECT_TRUE(unmapped(file));
    EXPECT_TRUE(plugs.loadPlug(record));
    managers.reset();
    std::filesystem::remove(folder / file);
  }
}

TEST_F(PlugsTest, RegistryStateOfAFoundPlugIn) {
  const struct {
    const char *key0, *key1;
    bool isNew, loaded;
  } cases[] = {
      {"-Other +goodmain", "", false, true},  // case ignored
      {"-GoodMain", "", false, false},
      {"-NoGoodMain +GoodMainX", "", true, true},  // only whole entries count
      {"GoodMain", "", true, true},                // an entry without a sign is not one
      {"", "-GoodMain", true, true},               // an empty key ends the registry
      {"+A", "-GoodMain", false, false},
  };
  add({"GoodMain.vma"});
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key0) + " / " + c.key1);
    writeKey("Plugs0000", c.key0);
    writeKey("Plugs0001", c.key1);
    clearConsole();
    PlugsManagers& plugs = loadAll();
    PlugRecord* record = plugs.findPlug("GoodMain", 0);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(c.isNew, (record->flags & PLUG_NEW) != 0);
    EXPECT_EQ(c.loaded, record->factory != nullptr);
    EXPECT_NE(std::string::npos, console().find(found("GoodMain", c.isNew, c.loaded)));
    EXPECT_EQ(!c.loaded, unmapped("GoodMain.vma"));
    plugs.unloadAll();
    managers.reset();
  }
}

TEST_F(PlugsTest, RegistryIsWrittenInGroupsOfTenThenAnEmptyKeyAndReadUpToIt) {
  for (int i = 0; i < 4; ++i) writeKey(("Plugs000" + std::to_string(i)).c_str(), "+Stale");
  PlugsManagers* plugs = new PlugsManagers(&table, settings.c_str());
  std::string expected[3];
  for (int i = 0; i < 23; ++i) {
    PlugList* list = plugs->plugList(i < 3 ? PLUG_KIND_ADDIN : PLUG_KIND_MAIN);
    list->emplace_back();
    std::snprintf(list->back().name, sizeof list->back().name, "P%02d", i);
    list->back().flags = i % 2 ? unsigned(PLUG_LOADED) : 0u;
    int order = i < 20 ? i + 3 : i - 20;  // main before add-ins
    std::string& group = expected[i / 10];
    group += std::string(group.empty() ? "" : " ") + (order % 2 ? "+" : "-") +
             (order < 10 ? "P0" : "P") + std::to_string(order);
  }
  delete plugs;
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(expected[i], readKey(("Plugs000" + std::to_string(i)).c_str()));
  EXPECT_EQ("", readKey("Plugs0003")) << "the stale group is gone";
  writeKey("Plugs0004", "+Stale");
  PlugsManagers again(&table, settings.c_str());
  EXPECT_EQ(expected[0] + " " + expected[1] + " " + expected[2] + " ", again.registryText());
}

}  // namespace
