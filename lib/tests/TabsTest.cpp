#include "lib/Tabs.h"

#include "lib/tests/LayoutHarness.h"
#include "platform/testing.h"

#include <string>

using namespace layouttest;

namespace {

// Logs the handler calls a user's clicks and select bring.
class LoggingTabs : public Tabs {
 public:
  explicit LoggingTabs(int style) : Tabs("tabs", style) {}
  bool onSelect(int index) override {
    log.push_back("select " + std::to_string(index) + " cursel " +
                  std::to_string(SendMessageA(hwnd, TCM_GETCURSEL, 0, 0)));
    return Tabs::onSelect(index);
  }
  bool onTabRightClick(int index, int x, int y) override {
    log.push_back("right " + std::to_string(index));
    rightAt = {x, y};
    return Tabs::onTabRightClick(index, x, y);
  }
  std::vector<std::string> log;
  POINT rightAt = {};
};

class TabsTest : public LayoutTest {
 protected:
  LoggingTabs* makeTabs(int style = Tabs::TabsTop) {
    LoggingTabs* tabs = keep(new LoggingTabs(style));
    tabs->createIn(host);
    tabs->move(0, 0, 400, 300);
    return tabs;
  }
  // Pages named "A", "B", ... each titled by its name.
  void addPages(Tabs* tabs, const char* names) {
    for (const char* n = names; *n; ++n) {
      std::string name(1, *n);
      tabs->addPage(keep(new Leaf(name.c_str())), nullptr);
    }
  }
  // The pages' names in order, the shown one in brackets, each checked against its tab title.
  static std::string describe(Tabs* tabs) {
    std::string text;
    for (int i = 0; Window* page = tabs->childAt(i); ++i) {
      char title[16] = {};
      EXPECT_TRUE(tabs->getPageTitle(i, title, sizeof title));
      EXPECT_STREQ(page->getName(), title) << "tab " << i;
      bool shown = page->isVisible();
      EXPECT_EQ(shown, IsWindowVisible(page->getHwnd()) != 0) << page->getName();
      text += shown ? "[" + std::string(page->getName()) + "]" : page->getName();
    }
    return text;
  }
};

TEST_F(TabsTest, FirstPageStaysShownLaterPagesStartHidden) {
  LoggingTabs* tabs = makeTabs();
  EXPECT_STREQ("tabs", tabs->typeName());
  EXPECT_EQ(-1, tabs->getSelected());
  addPages(tabs, "ABC");
  EXPECT_EQ(3, tabs->getPageCount());
  EXPECT_EQ(0, tabs->getSelected());
  EXPECT_EQ("[A]BC", describe(tabs));
  EXPECT_EQ(2, tabs->indexOfPage(tabs->childAt(2)));
  EXPECT_TRUE(tabs->log.empty());
}

TEST_F(TabsTest, PagesFillTheDisplayAreaInsideAOnePixelMargin) {
  LoggingTabs* tabs = makeTabs();
  addPages(tabs, "AB");
  for (Box size : {Box{0, 0, 400, 300}, Box{0, 0, 250, 120}}) {
    tabs->move(size.x, size.y, size.w, size.h);
    RECT area = {0, 0, size.w, size.h};
    SendMessageA(tabs->getHwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    Box expected = {area.left + 1, area.top + 1, area.right - area.left - 2,
                    area.bottom - area.top - 2};
    EXPECT_LT(expected.h, size.h - 2);  // the strip takes its row
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(expected, placed(tabs->childAt(i)));
      EXPECT_EQ(expected, layerPlacement(tabs->childAt(i)->getHwnd()));
    }
  }
}

TEST_F(TabsTest, SelectionAfterClosingAPage) {
  struct Case {
    int selectedBefore;
    int closed;
    const char* after;
    int selectedAfter;
  };
  const Case cases[] = {
      {2, 0, "B[C]", 1},  // an earlier page goes: the selection moves down with its page
      {2, 1, "A[C]", 1}, {1, 1, "A[C]", 1},  // the selected middle page: the one taking its place
                                             // is shown
      {2, 2, "A[B]", 1},                     // the selected last page: the one before it
      {0, 0, "[B]C", 0}, {0, 2, "[A]B", 0}, {1, 0, "[B]C", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("selected " + std::to_string(c.selectedBefore) + ", closed " +
                 std::to_string(c.closed));
    LoggingTabs* tabs = makeTabs();
    addPages(tabs, "ABC");
    tabs->select(c.selectedBefore);
    tabs->closePage(c.closed);
    EXPECT_EQ(2, tabs->getPageCount());
    EXPECT_EQ(c.selectedAfter, tabs->getSelected());
    EXPECT_EQ(c.selectedAfter, SendMessageA(tabs->getHwnd(), TCM_GETCURSEL, 0, 0));
    EXPECT_EQ(c.after, describe(tabs));
    tabs->destroy();
  }
}

TEST_F(TabsTest, ClosingTheSelectedPageAgainAfterAnEarlierOneWent) {
  LoggingTabs* tabs = makeTabs();
  addPages(tabs, "ABC");
  tabs->select(2);
  tabs->closePage(0);
  tabs->closePage(tabs->getSelected());  // must close C, not miss past the end
  EXPECT_EQ("[B]", describe(tabs));
  EXPECT_EQ(0, tabs->getSelected());
  tabs->closePage(tabs->getSelected());
  EXPECT_EQ(0, tabs->getPageCount());
  EXPECT_EQ(-1, tabs->getSelected());
  EXPECT_EQ("", describe(tabs));
}

TEST_F(TabsTest, ClosingABadIndexDoesNothing) {
  LoggingTabs* tabs = makeTabs();
  addPages(tabs, "AB");
  for (int index : {-1, 2, 99}) tabs->closePage(index);
  EXPECT_EQ(2, tabs->getPageCount());
  EXPECT_EQ("[A]B", describe(tabs));
}

TEST_F(TabsTest, SelectSwitchesPagesWithoutNotificationsFromTheControl) {
  LoggingTabs* tabs = makeTabs();
  addPages(tabs, "ABC");
  tabs->select(0);  // already selected: nothing
  tabs->select(7);  // no such tab: nothing
  EXPECT_TRUE(tabs->log.empty());
  tabs->select(2);
  EXPECT_EQ((std::vector<std::string>{"select 2 cursel 2"}), tabs->log);
  EXPECT_EQ("AB[C]", describe(tabs));
}

TEST_F(TabsTest, UserClickHidesTheOldPageAndShowsTheNew) {
  LoggingTabs* tabs = makeTabs();
  addPages(tabs, "ABC");
  ASSERT_TRUE(vorntest::clickTab(tabs->getHwnd(), 1));
  EXPECT_EQ((std::vector<std::string>{"select 1 cursel 1"}), tabs->log);
  EXPECT_EQ(1, tabs->getSelected());
  EXPECT_EQ("A[B]C", describe(tabs));
}

TEST_F(TabsTest, RightClickOnATabReportsItAndTheEmptyStripNothing) {
  LoggingTabs* tabs = makeTabs();
  addPages(tabs, "ABC");
  ASSERT_TRUE(vorntest::rightClickTab(tabs->getHwnd(), -1));
  EXPECT_TRUE(tabs->log.empty());
  ASSERT_TRUE(vorntest::rightClickTab(tabs->getHwnd(), 2));
  EXPECT_EQ((std::vector<std::string>{"right 2"}), tabs->log);
  RECT tab = {};
  ASSERT_TRUE(vorntest::tabRect(tabs->getHwnd(), 2, &tab));
  EXPECT_TRUE(PtInRect(&tab, tabs->rightAt)) << tabs->rightAt.x << "," << tabs->rightAt.y;
  EXPECT_EQ("[A]BC", describe(tabs));  // no switching
}

TEST_F(TabsTest, TitlesAreCutAt255Characters) {
  LoggingTabs* tabs = makeTabs();
  std::string longTitle(300, 'x');
  longTitle[254] = 'e';
  tabs->addPage(keep(new Leaf("A")), longTitle.c_str());
  char title[400] = {};
  ASSERT_TRUE(tabs->getPageTitle(0, title, sizeof title));
  EXPECT_EQ(longTitle.substr(0, 255), title);

  tabs->setPageTitle(0, std::string(256, 'y').c_str());
  ASSERT_TRUE(tabs->getPageTitle(0, title, sizeof title));
  EXPECT_EQ(std::string(255, 'y'), title);
  tabs->setPageTitle(0, "short");
  ASSERT_TRUE(tabs->getPageTitle(0, title, 4));
  EXPECT_STREQ("sho", title);
  EXPECT_FALSE(tabs->getPageTitle(1, title, sizeof title));
}

TEST_F(TabsTest, StyleBitsAndWhenPagesAreLaidOutAgain) {
  struct Case {
    int style;
    LONG_PTR bits;
  };
  const Case cases[] = {{0, 0x52000002}, {1, 0x52000000}, {2, 0x52000100}, {3, 0x52000108}};
  for (const Case& c : cases) {
    LoggingTabs* tabs = makeTabs(c.style);
    EXPECT_EQ(c.bits, GetWindowLongA(tabs->getHwnd(), GWL_STYLE) & 0xFFFFFFFF);
    EXPECT_EQ(TCS_EX_FLATSEPARATORS,
              SendMessageA(tabs->getHwnd(), TCM_GETEXTENDEDSTYLE, 0, 0) & TCS_EX_FLATSEPARATORS);
    tabs->destroy();
  }

  LoggingTabs* tabs = makeTabs(Tabs::TabsTop);
  addPages(tabs, "A");
  Window* page = tabs->childAt(0);
  Box top = placed(page);
  tabs->setTabStyle(Tabs::Buttons);
  EXPECT_EQ(0x52000100, GetWindowLongA(tabs->getHwnd(), GWL_STYLE) & 0xFFFFFFFF);
  EXPECT_EQ(top, placed(page));
  tabs->setTabStyle(Tabs::TabsBottom);
  EXPECT_EQ(0x52000002, GetWindowLongA(tabs->getHwnd(), GWL_STYLE) & 0xFFFFFFFF);
  EXPECT_EQ(Tabs::TabsBottom, tabs->getTabStyle());
  Box bottom = placed(page);
  EXPECT_LT(bottom.y, top.y);  // the strip went below the page
  EXPECT_EQ(top.h, bottom.h);
  EXPECT_EQ(bottom, layerPlacement(page->getHwnd()));
}

TEST_F(TabsTest, HighlightReachesTheTab) {
  LoggingTabs* tabs = makeTabs();
  addPages(tabs, "AB");
  tabs->highlight(1, true);
  TCITEMA item = {};
  item.mask = TCIF_STATE;
  item.dwStateMask = TCIS_HIGHLIGHTED;
  ASSERT_TRUE(SendMessageA(tabs->getHwnd(), TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(static_cast<DWORD>(TCIS_HIGHLIGHTED), item.dwState & TCIS_HIGHLIGHTED);
  tabs->highlight(1, false);
  item.dwState = 0;
  ASSERT_TRUE(SendMessageA(tabs->getHwnd(), TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(0u, item.dwState & TCIS_HIGHLIGHTED);
}

}  // namespace
