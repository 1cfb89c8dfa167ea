#include "lib/Tabs.h"

#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"

#include <cstring>
#include <string>

namespace {

// Logs onSelect (with the control's selection at that moment) and onTabRightClick.
class LoggingTabs : public Tabs {
 public:
  explicit LoggingTabs(int style) : Tabs("tabs", style) {}
  bool onSelect(int index) override {
    log.push_back("select " + std::to_string(index) + " cursel " +
                  std::to_string(SendMessageA(hwnd, TCM_GETCURSEL, 0, 0)));
    return false;
  }
  bool onTabRightClick(int index, int, int) override {
    log.push_back("right " + std::to_string(index));
    return true;
  }
  std::vector<std::string> log;
};

class TabsTest : public LayoutTest {
 protected:
  // Tabs with pages named and titled "A", "B", ...
  LoggingTabs* makeTabs(const char* names, int style = Tabs::TabsTop) {
    LoggingTabs* tabs = keep(new LoggingTabs(style));
    tabs->createIn(host);
    tabs->move(0, 0, 400, 300);
    for (const char* n = names; *n; ++n) tabs->addPage(leaf(std::string(1, *n).c_str()), nullptr);
    return tabs;
  }
  // The pages in order, the shown one in brackets; checks each tab's title against its page.
  static std::string describe(Tabs* tabs) {
    std::string text;
    for (int i = 0; Window* page = tabs->childAt(i); ++i) {
      char title[16] = {};
      EXPECT_TRUE(tabs->getPageTitle(i, title, sizeof title));
      EXPECT_STREQ(page->getName(), title);
      EXPECT_EQ(page->isVisible(), IsWindowVisible(page->getHwnd()) != 0);
      text += page->isVisible() ? "[" + std::string(title) + "]" : title;
    }
    EXPECT_EQ(tabs->getSelected(), SendMessageA(tabs->getHwnd(), TCM_GETCURSEL, 0, 0));
    return text;
  }
};

TEST_F(TabsTest, SelectionAfterClosingPages) {
  struct Case {
    int selected;
    std::vector<int> closed;  // closePage arguments in turn; -2 closes getSelected()
    const char* after;
  };
  const Case cases[] = {
      {2, {0}, "B[C]"},     // an earlier page goes: the selection moves with its page
      {2, {0, -2}, "[B]"},  // ... so closing the selected one then closes C
      {1, {1}, "A[C]"},     // the page taking the selected one's place is shown
      {2, {2}, "A[B]"},     // the selected last page: the one before it
      {0, {2}, "[A]B"},      {0, {-1, 3, 99}, "[A]BC"},  // bad indexes do nothing
      {1, {-2, -2, -2}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("selected " + std::to_string(c.selected) + ", then " + c.after);
    LoggingTabs* tabs = makeTabs("ABC");
    tabs->select(c.selected);
    for (int index : c.closed) tabs->closePage(index == -2 ? tabs->getSelected() : index);
    EXPECT_EQ(c.after, describe(tabs));
    EXPECT_EQ(static_cast<int>(strlen(c.after)) - (*c.after ? 2 : 0), tabs->getPageCount());
    EXPECT_EQ(*c.after ? 1 : 0, tabs->getSelected() >= 0);
    tabs->destroy();
  }
}

TEST_F(TabsTest, SelectAndUserClicksSwitchPages) {
  LoggingTabs* tabs = makeTabs("ABC");
  for (int index : {0, 7, 2}) tabs->select(index);  // selected already, no such tab, a new one
  EXPECT_EQ("AB[C]", describe(tabs));  // onSelect runs once: the control itself sends nothing

  ASSERT_TRUE(vorntest::clickTab(tabs->getHwnd(), 1));
  EXPECT_EQ("A[B]C", describe(tabs));
  ASSERT_TRUE(vorntest::rightClickTab(tabs->getHwnd(), -1));  // empty strip: no handler
  ASSERT_TRUE(vorntest::rightClickTab(tabs->getHwnd(), 0));
  EXPECT_EQ("A[B]C", describe(tabs));
  EXPECT_EQ((std::vector<std::string>{"select 2 cursel 2", "select 1 cursel 1", "right 0"}),
            tabs->log);
}

// The strip keeps the focus after a click on the tab already shown; what is typed then must
// reach the page the user sees, not the hidden first page.
TEST_F(TabsTest, KeysReachingTheStripGoToTheShownPage) {
  LoggingTabs* tabs = makeTabs("ABC");
  tabs->select(1);
  for (UINT message : {WM_CHAR, WM_KEYDOWN}) {
    SetFocus(tabs->getHwnd());
    SendMessageA(tabs->getHwnd(), message, 'x', 0);
    EXPECT_EQ(tabs->childAt(1)->getHwnd(), GetFocus());
  }
}

TEST_F(TabsTest, TitlesAreCutAt255Characters) {
  LoggingTabs* tabs = makeTabs("");
  tabs->addPage(leaf("A"), std::string(300, 'x').c_str());
  tabs->addPage(leaf("B"), "short");
  tabs->setPageTitle(1, std::string(256, 'y').c_str());
  char read[400] = {};
  for (char c : {'x', 'y'}) {
    ASSERT_TRUE(tabs->getPageTitle(c - 'x', read, sizeof read));
    EXPECT_EQ(std::string(255, c), read);
  }
  EXPECT_FALSE(tabs->getPageTitle(2, read, sizeof read));
}

TEST_F(TabsTest, OnlyMovingTheStripBetweenBottomAndTopMovesThePages) {
  LoggingTabs* tabs = makeTabs("A");
  EXPECT_EQ(0x52000000, GetWindowLongA(tabs->getHwnd(), GWL_STYLE) & 0xFFFFFFFF);
  Window* page = tabs->childAt(0);
  Box top = placed(page);
  EXPECT_GT(top.y, 1);  // below the strip
  tabs->setTabStyle(Tabs::FlatButtons);
  EXPECT_EQ(0x52000108, GetWindowLongA(tabs->getHwnd(), GWL_STYLE) & 0xFFFFFFFF);
  EXPECT_EQ(top, placed(page));
  tabs->setTabStyle(Tabs::TabsBottom);
  EXPECT_EQ(0x52000002, GetWindowLongA(tabs->getHwnd(), GWL_STYLE) & 0xFFFFFFFF);
  Box bottom = placed(page);
  EXPECT_EQ((Box{top.x, top.x, top.w, top.h}), bottom);
  EXPECT_EQ(bottom, layerPlacement(page->getHwnd()));
}

}  // namespace
