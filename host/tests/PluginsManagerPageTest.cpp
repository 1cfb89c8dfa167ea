#include "host/PluginsManagerPage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/PlugsManagerWindow.h"
#include "host/tests/PlugsFixture.h"
#include "platform/testing.h"

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

  std::vector<std::string> calls;
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
  std::string text(RichEdit& edit) {
    char buffer[256] = {};
    GetWindowTextA(edit.getHwnd(), buffer, sizeof buffer);
    return buffer;
  }
  // "author|version|description|help enabled"
  std::string info() {
    return text(author) + "|" + text(version) + "|" + text(description) + "|" +
           (IsWindowEnabled(helpButton.getHwnd()) ? "help" : "no help");
  }
  HWND applyHwnd() { return applyButton.getHwnd(); }
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
    pageWindow = makeProbeWindow(panel, "Static", "page");
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
  int itemCount() {
    return static_cast<int>(SendMessageA(page.list().getHwnd(), TVM_GETCOUNT, 0, 0));
  }
  void select(const PlugRecord& record) {
    ASSERT_TRUE(vorntest::clickTreeItem(page.list().getHwnd(), itemOf(record)));
  }
  static std::string boxes() {
    std::string out;
    for (const auto& box : vorntest::shownMessageBoxes())
      out += box.caption + ": " + box.text + " #" + std::to_string(box.flags) + "\n";
    return out;
  }

  FakeFactory factory;
  FakeListener listener;
  ProbedPage page;
  HWND pageWindow = nullptr;
};

TEST_F(ManagerPageTest, RecordsAreListedOnceAndTheirBoxesFollowTheLoadedState) {
  PlugRecord& on = add("On", true);
  PlugRecord& off = add("Off", false);
  page.addNewItems();
  page.addNewItems();
  EXPECT_EQ(2, itemCount());
  for (PlugRecord* record : {&on, &off}) {
    EXPECT_TRUE(record->flags & PLUG_LISTED);
    EXPECT_EQ(reinterpret_cast<LPARAM>(record), page.list().getItemData(itemOf(*record)));
  }
  PlugRecord& later = add("Later", true);  // an install adds to the list
  page.addNewItems();
  EXPECT_EQ(3, itemCount());

  page.syncChecks();
  EXPECT_TRUE(page.list().isChecked(itemOf(on)));
  EXPECT_FALSE(page.list().isChecked(itemOf(off)));
  EXPECT_TRUE(page.list().isChecked(itemOf(later)));
  off.flags |= PLUG_LOADED;
  on.flags &= ~PLUG_LOADED;
  page.syncChecks();
  EXPECT_FALSE(page.list().isChecked(itemOf(on)));
  EXPECT_TRUE(page.list().isChecked(itemOf(off)));

  page.clearItems();
  EXPECT_EQ(0, itemCount());
  for (PlugRecord& record : records()) {
    EXPECT_EQ(0, record.listItem);
    EXPECT_FALSE(record.flags & PLUG_LISTED);
  }
  page.addNewItems();  // listed afresh
  EXPECT_EQ(3, itemCount());
}

TEST_F(ManagerPageTest, TheSelectedPlugInsInformationComesFromItsFactory) {
  PlugRecord& off = add("Off", false);
  PlugRecord& on = add("On", true);
  page.addNewItems();
  EXPECT_EQ("|||no help", page.info());  // help starts disabled

  select(on);
  EXPECT_EQ("Ann Author|1.50|Does fake things|no help", page.info());
  factory.help = "readme.html";
  page.showPlugInfo(&on);
  EXPECT_EQ("Ann Author|1.50|Does fake things|help", page.info());
  select(off);
  EXPECT_EQ("||Not loaded.|no help", page.info());
  page.showPlugInfo(nullptr);
  EXPECT_EQ("||Not loaded.|no help", page.info());
  EXPECT_EQ("", boxes());
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
  EXPECT_EQ("Plugin's Critical Error !!!", shown[0].caption);
  EXPECT_NE(std::string::npos, shown[0].text.find("'shortDescription (factory)'"));
  EXPECT_FALSE(faulty.isLoaded());
  EXPECT_EQ(1, factory.terms);
  EXPECT_EQ("||Not loaded.|no help", page.info());
  // Its box shows the unload, so "Apply" does not load it again.
  EXPECT_FALSE(page.list().isChecked(itemOf(faulty)));
  page.apply();
  EXPECT_TRUE(listener.calls.empty());
}

TEST_F(ManagerPageTest, ApplyFollowsTheBoxesAndPutsRefusedOnesBack) {
  struct Case {
    const char* name;
    bool loaded;
    bool checked;
    bool refused;
    bool checkedAfter;
    bool loadedAfter;
  };
  const Case cases[] = {
      {"KeepOn", true, true, false, true, true},
      {"StayOff", false, false, false, false, false},
      {"TurnOff", true, false, false, false, false},
      {"TurnOffRefused", true, false, true, true, true},
      {"TurnOn", false, true, false, true, true},
      {"TurnOnRefused", false, true, true, false, false},
  };
  std::vector<PlugRecord*> made;
  for (const Case& c : cases) {
    made.push_back(&add(c.name, c.loaded));
    if (c.refused) listener.refused.insert(c.name);
  }
  page.addNewItems();
  for (size_t i = 0; i < made.size(); ++i)
    page.list().setChecked(itemOf(*made[i]), cases[i].checked);
  select(*made[4]);  // "TurnOn", shown as not loaded until the apply
  EXPECT_EQ("||Not loaded.|no help", page.info());

  RECT r = {};
  GetClientRect(page.applyHwnd(), &r);
  ASSERT_TRUE(vorntest::clickAt(page.applyHwnd(), r.right / 2, r.bottom / 2));
  EXPECT_EQ(std::vector<std::string>(
                {"unload TurnOff", "unload TurnOffRefused", "load TurnOn", "load TurnOnRefused"}),
            listener.calls);
  for (size_t i = 0; i < made.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(cases[i].checkedAfter, page.list().isChecked(itemOf(*made[i])));
    EXPECT_EQ(cases[i].loadedAfter, made[i]->isLoaded());
  }
  EXPECT_EQ("Ann Author|1.50|Does fake things|no help", page.info());  // the selection again
}

TEST_F(ManagerPageTest, HelpNeedsALoadedSelectionAndAHelpFile) {
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
  EXPECT_EQ(
      "Vornith' Help Error: No plug selected ! #16\n"
      "Vornith' Help Error: The plug need to be loaded to see the help ! #16\n"
      "Vornith' Help Message: No help available for this plugin. #0\n",
      boxes().substr(0, boxes().find("Plugin's Critical Error")));
  auto shown = vorntest::shownMessageBoxes();
  ASSERT_EQ(4u, shown.size());
  EXPECT_NE(std::string::npos, shown[3].text.find("'getHelpFile'"));
  EXPECT_TRUE(on.isLoaded());  // a fault in the help file's name is only reported
  EXPECT_TRUE(vorntest::shellExecuteCalls().empty());
  EXPECT_EQ(std::string::npos, console().find("Help request."));

  factory.faultInHelp = false;
  factory.help = "help\\fake.html";
  page.onButton(2);
  auto calls = vorntest::shellExecuteCalls();
  ASSERT_EQ(1u, calls.size());
  EXPECT_EQ("open", calls[0].operation);
  EXPECT_EQ("help\\fake.html", calls[0].target);
  EXPECT_EQ("Help request.\n", console());
  EXPECT_EQ(4u, vorntest::shownMessageBoxes().size());
}

TEST_F(ManagerPageTest, TheManagerWindowListsEachKindOnItsOwnPage) {
  PlugRecord& addin = add("Addin", true);
  managers->plugList(PLUG_KIND_MAIN)->emplace_back();
  PlugRecord& main = managers->plugList(PLUG_KIND_MAIN)->back();
  std::snprintf(main.name, sizeof main.name, "%s", "Main");
  main.kind = PLUG_KIND_MAIN;

  PlugsManagerWindow window;  // the host's managers
  window.refreshPage(PLUG_KIND_MAIN);
  EXPECT_TRUE(main.flags & PLUG_LISTED);
  EXPECT_FALSE(addin.flags & PLUG_LISTED);
  window.refreshPage(PLUG_KIND_ADDIN);
  EXPECT_TRUE(addin.flags & PLUG_LISTED);
  window.refreshPage(42);  // no such kind

  HWND frame = window.getWindow().getHwnd();
  EXPECT_FALSE(IsWindowVisible(frame));
  char title[64] = {};
  GetWindowTextA(frame, title, sizeof title);
  EXPECT_STREQ("Plugins Manager...", title);
  window.showManagerWindow();
  EXPECT_TRUE(IsWindowVisible(frame));
  PluginsManagerPage* addins = window.getPage(PLUG_KIND_ADDIN);
  ASSERT_NE(nullptr, addins);
  EXPECT_STREQ("Addins Plugins Manager", addins->getTitle());
  EXPECT_EQ(nullptr, window.getPage(0));
  // Opening checked the loaded plug-in's box, so applying keeps it.
  addins->apply();
  EXPECT_TRUE(addin.isLoaded());
  // Opened again while it is off, its box is cleared; applying with it loaded unloads it
  // through the managers.
  addin.flags &= ~PLUG_LOADED;
  window.showManagerWindow();
  addin.flags |= PLUG_LOADED;
  addins->apply();
  EXPECT_FALSE(addin.isLoaded());
  EXPECT_EQ(1, factory.terms);
  addin.flags &= ~PLUG_LISTED;  // the test's page lists it no more
}

}  // namespace
