// The registry of plug-ins switched on: whole-entry look-up, the groups of ten per key and the
// empty key that ends it.
#include <string>

#include "host/tests/PlugsFixture.h"

namespace {

const std::string kMainFound = "Plugin found : GoodMain created by Fixture Maker version 1.25 : ";

struct RegistryCase {
  const char* key0;
  const char* key1;
  bool isNew;
  bool loaded;
};

TEST_F(PlugsTest, RegistryStateOfAFoundPlugIn) {
  const RegistryCase cases[] = {
      {"-Other +goodmain", "", false, true},  // case ignored
      {"-GoodMain", "", false, false},
      {"-NoGoodMain +GoodMainX", "", true, true},  // only whole entries count
      {"GoodMain", "", true, true},                // an entry without a sign is not one
      {"", "-GoodMain", true, true},               // an empty key ends the registry
      {"+A", "-GoodMain", false, false},
  };
  add({"GoodMain.vma"});
  for (const RegistryCase& c : cases) {
    SCOPED_TRACE(std::string(c.key0) + " / " + c.key1);
    writeKey("Plugs0000", c.key0);
    writeKey("Plugs0001", c.key1);
    clearConsole();
    PlugsManagers& plugs = loadAll();
    PlugRecord* record = plugs.findPlug("GoodMain", 0);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(c.isNew, (record->flags & PLUG_NEW) != 0);
    EXPECT_EQ(c.loaded, record->isLoaded());
    EXPECT_EQ(c.loaded, record->factory != nullptr);
    std::string line =
        (c.isNew ? "New " : "") + kMainFound + (c.loaded ? "Loaded.\n" : "Not loaded.\n");
    EXPECT_NE(std::string::npos, console().find(line)) << console();
    EXPECT_EQ(!c.loaded, unmapped("GoodMain.vma"));
    plugs.unloadAll();
    managers.reset();
  }
}

TEST_F(PlugsTest, RegistryIsReadUpToTheFirstEmptyKey) {
  writeKey("Plugs0000", "+A -B");
  writeKey("Plugs0001", "+C");
  writeKey("Plugs0003", "+Stale");
  PlugsManagers plugs(&table, settings.c_str());
  EXPECT_STREQ("+A -B +C ", plugs.registryText());
}

TEST_F(PlugsTest, RegistryIsWrittenInGroupsOfTenThenAnEmptyKey) {
  for (int i = 0; i < 4; ++i) writeKey(("Plugs000" + std::to_string(i)).c_str(), "+Stale");
  PlugsManagers* plugs = new PlugsManagers(&table, settings.c_str());
  std::string expected[3];
  for (int i = 0; i < 23; ++i) {
    PlugList* list = plugs->plugList(i < 3 ? PLUG_KIND_ADDIN : PLUG_KIND_MAIN);
    list->emplace_back();
    std::snprintf(list->back().name, sizeof list->back().name, "P%02d", i);
    list->back().flags = i % 2 ? unsigned(PLUG_LOADED) : 0u;
  }
  for (int i = 0; i < 23; ++i) {
    int order = i < 20 ? i + 3 : i - 20;  // main before add-ins
    std::string& group = expected[i / 10];
    if (!group.empty()) group += ' ';
    group += std::string(order % 2 ? "+" : "-") + (order < 10 ? "P0" : "P") + std::to_string(order);
  }
  delete plugs;
  EXPECT_EQ(expected[0], readKey("Plugs0000"));
  EXPECT_EQ(expected[1], readKey("Plugs0001"));
  EXPECT_EQ(expected[2], readKey("Plugs0002"));
  EXPECT_EQ("", readKey("Plugs0003")) << "the stale group is gone";
  PlugsManagers again(&table, settings.c_str());
  EXPECT_EQ(expected[0] + " " + expected[1] + " " + expected[2] + " ", again.registryText());
}

TEST_F(PlugsTest, RegistryOfAScanKeepsTheOrderSystemMainInOutAddins) {
  add({"GoodInOut.vio", "GoodAddin.vad", "GoodMain.vma", "GoodSystem.vsy"});
  writeKey("Plugs0000", "-GoodInOut");
  loadAll();
  managers.reset();
  EXPECT_EQ("+GoodSystem +GoodMain -GoodInOut +Good_Addin2", readKey("Plugs0000"));
  EXPECT_EQ("", readKey("Plugs0001"));
}

}  // namespace
