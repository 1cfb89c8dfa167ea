// A page of the plug-ins manager: one item per record with its box following the loaded state,
// the selected plug-in's information, faults reading it, "Apply" with refusals, and help.
#include "host/PluginsManagerPage.h"

#include <cstdint>
#include <set>
#include <stdexcept>

#include "host/Host.h"
#include "host/PlugsManagerWindow.h"
#include "host/tests/PlugsFixture.h"

namespace {

// A plug-in's factory living in the test: its information, and faults on request.
class FakeFactory : public VornithPlugsFactory {
 public:
  int init() override { return 1; }
  void term() override { ++terms; }
  const char* name() override { return "Fake"; }
  float version() override { return 1.5f; }
  int kind() override { return PLUG_KIND_ADDIN; }
  const char* author() override {
    if (faultInInfo) throw std::runtime_error("author");
    return "Ann Author";
  }
  const char* shortDescription() override { return "Does fake things"; }
  const char* getHelpFile() override {
    if (faultInHelp) throw std::runtime_error("help");
    return help;
  }
  PlugsObject* newSession(const char*) override { return nullptr; }
  void deleteSession(PlugsObject*) override {}

  bool faultInInfo = false;
  bool faultInHelp = false;
  const char* help = nullptr;
  int terms = 0;
};

// Loads and unloads by flipping the loaded flag, refusing the names it is told to.
class FakeListener : public PlugsListener {
 public:
  void onSetupClose() override {}
  bool unloadPlug(PlugRecord* record) override { return change(record, "unload ", false); }
  bool loadPlug(PlugRecord* record) override { return change(record, "load ", true); }
  Lines calls;
  std::set<std::string> refused;

 private:
  bool change(PlugRecord* record, const char* what, bool loaded) {
    calls.push_back(what + std::string(record->name));
    if (refused.count(record->name)) return false;
    record->flags = loaded ? record->flags | PLUG_LOADED : record->flags & ~PLUG_LOADED;
    return true;
  }
};

class ProbedPage : public PluginsManagerPage {
 public:
  ProbedPage() : PluginsManagerPage("Addins Plugins Manager") {}
  PlugsList& list() { return plugsList; }
  // "author|version|description|help enabled"
  std::string info() {
    std::string out;
    for (RichEdit* edit : {&author, &version, &description}) {
      char buffer[256] = {};
      GetWindowTextA(edit->getHwnd(), buffer, sizeof buffer);
      out += std::string(buffer) + "|";
    }
    return out + (IsWindowEnabled(helpButton.getHwnd()) ? "help" : "no help");
  }
};

class ManagerPageTest : public PlugsTest {
 protected:
  void SetUp() override {
    PlugsTest::SetUp();
    if (IsSkipped()) return;
    if (lacksClass("SysTreeView32")) GTEST_SKIP() << "no tree view in this build";
    vorntest::recordShellExecute(true);
    vorntest::clearShellExecuteCalls();
    managers.reset(new PlugsManagers(&table, settings.c_str(), &hooks));
    plugsManagers = managers.get();
    HWND pageWindow = makeProbeWindow(panel, "Static", "page");
    MoveWindow(pageWindow, 0, 200, 600, 200, TRUE);
    page.create(pageWindow);
    page.setOwner(&listener);
    page.setPlugList(&records());
  }
  void TearDown() override {
    plugsManagers = nullptr;
    page.destroy();
    vorntest::recordShellExecute(false);
    PlugsTest::TearDown();
  }
  PlugList& records() { return *managers->plugList(PLUG_KIND_ADDIN); }
  PlugRecord& add(const char* name, bool loaded) {
    records().emplace_back();
    PlugRecord& record = records().back();
    std::snprintf(record.name, sizeof record.name, "%s", name);
    record.kind = PLUG_KIND_ADDIN;
    record.flags = loaded ? unsigned(PLUG_LOADED) : 0u;
    record.factory = &factory;
    return record;
  }
  HTREEITEM itemOf(const PlugRecord& record) {
    return reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(record.listItem));
  }
  bool checked(const PlugRecord& record) { return page.list().isChecked(itemOf(record)); }
  int itemCount() {
    return static_cast<int>(SendMessageA(page.list().getHwnd(), TVM_GETCOUNT, 0, 0));
  }
  void select(const PlugRecord& record) {
    ASSERT_TRUE(vorntest::clickTreeItem(page.list().getHwnd(), itemOf(record)));
  }

  FakeFactory factory;
  FakeListener listener;
  ProbedPage page;
};

TEST_F(ManagerPageTest, RecordsAreListedOnceAndTheirBoxesFollowTheLoadedState) {
  PlugRecord& on = add("On", true);
  PlugRecord& off = add("Off", false);
  page.addNewItems();
  page.addNewItems();
  EXPECT_EQ(2, itemCount());
  EXPECT_EQ(reinterpret_cast<LPARAM>(&on), page.list().getItemData(itemOf(on)));
  page.syncChecks();
  EXPECT_TRUE(checked(on));
  EXPECT_FALSE(checked(off));
  off.flags |= PLUG_LOADED;
  on.flags &= ~PLUG_LOADED;
  page.syncChecks();
  EXPECT_FALSE(checked(on));
  EXPECT_TRUE(checked(off));
  page.clearItems();
  EXPECT_EQ(0, itemCount());
  EXPECT_FALSE(on.flags & PLUG_LISTED);
  page.addNewItems();  // listed afresh
  EXPECT_EQ(2, itemCount());
}

TEST_F(ManagerPageTest, ApplyFollowsTheBoxesPutsRefusedOnesBackAndShowsTheSelectionAgain) {
  const struct {
    const char* name;
    bool loaded, checked, refused, after;  // after: checked and loaded once applied
  } cases[] = {
      {"KeepOn", true, true, false, true},    {"StayOff", false, false, false, false},
      {"TurnOff", true, false, false, false}, {"TurnOffRefused", true, false, true, true},
      {"TurnOn", false, true, false, true},   {"TurnOnRefused", false, true, true, false},
  };
  std::vector<PlugRecord*> made;
  for (const auto& c : cases) {
    made.push_back(&add(c.name, c.loaded));
    if (c.refused) listener.refused.insert(c.name);
  }
  page.addNewItems();
  EXPECT_EQ("|||no help", page.info());  // help starts disabled
  for (size_t i = 0; i < made.size(); ++i)
    page.list().setChecked(itemOf(*made[i]), cases[i].checked);
  select(*made[4]);  // "TurnOn", shown as not loaded until the apply
  EXPECT_EQ("||Not loaded.|no help", page.info());
  page.apply();
  EXPECT_EQ((Lines{"unload TurnOff", "unload TurnOffRefused", "load TurnOn", "load TurnOnRefused"}),
            listener.calls);
  for (size_t i = 0; i < made.size(); ++i) {
    EXPECT_EQ(cases[i].after, checked(*made[i])) << cases[i].name;
    EXPECT_EQ(cases[i].after, made[i]->isLoaded()) << cases[i].name;
  }
  EXPECT_EQ("Ann Author|1.50|Does fake things|no help", page.info());
  factory.help = "readme.html";
  page.showPlugInfo(made[4]);
  EXPECT_EQ("Ann Author|1.50|Does fake things|help", page.info());
}

TEST_F(ManagerPageTest, AFaultReadingTheInformationIsReportedAndUnloadsThePlugIn) {
  PlugRecord& faulty = add("Faulty", true);
  page.addNewItems();
  page.syncChecks();
  factory.faultInInfo = true;
  vorntest::answerNextMessageBox(IDOK);
  select(faulty);
  auto shown = vorntest::shownMessageBoxes();
  ASSERT_EQ(1u, shown.size());
  EXPECT_NE(std::string::npos, shown[0].text.find("'shortDescription (factory)'"));
  EXPECT_FALSE(faulty.isLoaded());
  EXPECT_EQ(1, factory.terms);
  EXPECT_EQ("||Not loaded.|no help", page.info());
  // Its box shows the unload, so "Apply" does not load it again.
  EXPECT_FALSE(checked(faulty));
  page.apply();
  EXPECT_TRUE(listener.calls.empty());
}

TEST_F(ManagerPageTest, HelpNeedsALoadedSelectionAndAFaultInItsNameIsOnlyReported) {
  PlugRecord& off = add("Off", false);
  PlugRecord& on = add("On", true);
  page.addNewItems();
  for (int i = 0; i < 4; ++i) vorntest::answerNextMessageBox(IDOK);
  page.onButton(2);  // nothing selected
  select(off);
  page.onButton(2);
  select(on);
  page.onButton(2);  // no help file
  factory.faultInHelp = true;
  page.onButton(2);
  auto shown = vorntest::shownMessageBoxes();
  ASSERT_EQ(4u, shown.size());
  EXPECT_EQ("No plug selected !", shown[0].text);
  EXPECT_NE(std::string::npos, shown[3].text.find("'getHelpFile'"));
  EXPECT_TRUE(on.isLoaded());
  EXPECT_TRUE(vorntest::shellExecuteCalls().empty());
  factory.faultInHelp = false;
  factory.help = "help\\fake.html";
  page.onButton(2);
  auto calls = vorntest::shellExecuteCalls();
  ASSERT_EQ(1u, calls.size());
  EXPECT_EQ("help\\fake.html", calls[0].target);
  EXPECT_EQ("Help request.\n", console());
}

TEST_F(ManagerPageTest, TheManagerWindowSyncsTheBoxesWhenShownAndAppliesThroughTheManagers) {
  PlugRecord& addin = add("Addin", true);
  PlugsManagerWindow window;  // the host's managers
  window.refreshPage(PLUG_KIND_MAIN);
  EXPECT_FALSE(addin.flags & PLUG_LISTED);
  window.refreshPage(PLUG_KIND_ADDIN);
  window.refreshPage(42);  // no such kind
  EXPECT_TRUE(addin.flags & PLUG_LISTED);
  PluginsManagerPage* addins = window.getPage(PLUG_KIND_ADDIN);
  ASSERT_NE(nullptr, addins);
  EXPECT_EQ(nullptr, window.getPage(0));
  window.showManagerWindow();
  addins->apply();
  EXPECT_TRUE(addin.isLoaded());
  // Opened again while it is off, its box is cleared; applying with it loaded unloads it.
  addin.flags &= ~PLUG_LOADED;
  window.showManagerWindow();
  addin.flags |= PLUG_LOADED;
  addins->apply();
  EXPECT_FALSE(addin.isLoaded());
  EXPECT_EQ(1, factory.terms);
  addin.flags &= ~PLUG_LISTED;  // the test's page lists it no more
}

}  // namespace
