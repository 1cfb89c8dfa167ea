// The tab strip keeps Win32's selection rules whatever QTabBar does, asks before a user's
// switch and tells after it, reports right clicks with their position, and gives pages the
// display area below (or above) the row of tabs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

struct Notice {
  UINT code;
  LRESULT selectionThen;  // TCM_GETCURSEL while the parent handles the notification
  POINT messagePos;
  HWND focus;
};

using Heard = std::pair<UINT, LRESULT>;

class TabControl : public ::testing::Test {
 protected:
  void SetUp() override {
    top = makeNotifiedTop(
        [this](const NMHDR* header, LRESULT* result) {
          if (header->hwndFrom != tabs) return false;
          DWORD pos = GetMessagePos();
          POINT at{static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos))};
          notices.push_back({header->code, cursel(), at, GetFocus()});
          *result = header->code == TCN_SELCHANGING ? refuse : 0;
          return true;
        },
        400, 300);
    tabs = CreateWindowExA(0, "SysTabControl32", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10,
                           10, 300, 200, top, reinterpret_cast<HMENU>(7), nullptr, nullptr);
  }
  void TearDown() override { closeTop(top); }
  LRESULT insert(int index, const char* text) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text);
    return SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&item));
  }
  LRESULT cursel() { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0); }
  // Each notification's code with the selection while the parent handled it.
  std::vector<Heard> heard() {
    std::vector<Heard> out;
    for (const Notice& n : notices) out.push_back({n.code, n.selectionThen});
    return out;
  }

  HWND top = nullptr;
  HWND tabs = nullptr;
  LRESULT refuse = FALSE;
  std::vector<Notice> notices;
};

// Each step: an operation, its argument, what it returns, and the selection after it.
enum Op { Insert, Delete, SetCursel };
struct Step {
  Op op;
  int arg;
  LRESULT returns;
  LRESULT selectionAfter;
};
struct Script {
  const char* name;
  std::vector<Step> steps;
};

TEST_F(TabControl, SelectionFollowsWin32RulesOnInsertDeleteAndSetCursel) {
  const Script scripts[] = {
      {"negative insert fails, first insert selects, beyond the end appends, before moves it",
       {{Insert, -1, -1, -1},
        {Insert, 0, 0, 0},
        {Insert, 0, 0, 1},
        {Insert, 9, 2, 1},
        {Insert, 1, 1, 2}}},
      {"setcursel returns the previous, out of range fails and keeps; deleting a later or "
       "missing tab leaves it",
       {{Insert, 0, 0, 0},
        {Insert, 1, 1, 0},
        {Insert, 2, 2, 0},
        {SetCursel, 1, 0, 1},
        {SetCursel, 1, 1, 1},
        {SetCursel, 3, -1, 1},
        {SetCursel, -1, -1, 1},
        {Delete, 2, TRUE, 1},
        {Delete, 2, FALSE, 1},
        {Delete, -1, FALSE, 1}}},
      {"deleting an earlier tab moves it down, deleting it leaves none, no auto-select until "
       "emptied",
       {{Insert, 0, 0, 0},
        {Insert, 1, 1, 0},
        {Insert, 2, 2, 0},
        {SetCursel, 2, 0, 2},
        {Delete, 0, TRUE, 1},
        {Delete, 1, TRUE, -1},
        {Insert, 1, 1, -1},
        {Delete, 0, TRUE, -1},
        {Delete, 0, TRUE, -1},
        {Insert, 0, 0, 0}}},
  };
  for (const Script& script : scripts) {
    SCOPED_TRACE(script.name);
    SendMessageA(tabs, TCM_DELETEALLITEMS, 0, 0);
    for (const Step& step : script.steps) {
      LRESULT got = 0;
      if (step.op == Insert) got = insert(step.arg, "t");
      if (step.op == Delete)
        got = SendMessageA(tabs, TCM_DELETEITEM, static_cast<WPARAM>(step.arg), 0);
      if (step.op == SetCursel)
        got = SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(step.arg), 0);
      EXPECT_EQ(got, step.returns);
      EXPECT_EQ(cursel(), step.selectionAfter);
    }
  }
  EXPECT_TRUE(notices.empty()) << "programmatic changes notify nobody";
}

TEST_F(TabControl, UserClickAsksThenSwitchesThenTells) {
  insert(0, "alpha");
  insert(1, "beta");
  insert(2, "gamma");
  ASSERT_TRUE(vorntest::clickTab(tabs, 2));
  // Still the old tab while asking, the new one when told.
  EXPECT_EQ(heard(), (std::vector<Heard>{{TCN_SELCHANGING, 0}, {TCN_SELCHANGE, 2}}));
  EXPECT_EQ(notices[0].focus, tabs) << "the click took the focus before the parent heard";

  notices.clear();
  vorntest::clickTab(tabs, 2);
  EXPECT_TRUE(notices.empty()) << "clicking the selected tab changes nothing";

  refuse = TRUE;
  vorntest::clickTab(tabs, 1);
  EXPECT_EQ(heard(), (std::vector<Heard>{{TCN_SELCHANGING, 2}}));
  EXPECT_EQ(cursel(), 2) << "the parent refused the switch";

  SetFocus(top);
  setStyleBits(tabs, TCS_FOCUSNEVER, true);
  vorntest::clickTab(tabs, 0);
  EXPECT_EQ(GetFocus(), top);
}

TEST_F(TabControl, RightClickReportsItsScreenPositionForHitTesting) {
  insert(0, "alpha");
  insert(1, "beta");
  ASSERT_TRUE(vorntest::rightClickTab(tabs, 1));
  ASSERT_EQ(heard(), (std::vector<Heard>{{NM_RCLICK, 0}}));
  EXPECT_EQ(cursel(), 0) << "a right click does not select";

  POINT at = notices[0].messagePos;
  ScreenToClient(tabs, &at);
  TCHITTESTINFO hit{at, 0};
  EXPECT_EQ(SendMessageA(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1)
      << at.x << "," << at.y;
  EXPECT_TRUE(hit.flags & (TCHT_ONITEMICON | TCHT_ONITEMLABEL));
}

TEST_F(TabControl, AdjustRectTakesTheRowAndBorderAtTopOrBottom) {
  insert(0, "alpha");
  RECT tab{};
  ASSERT_TRUE(vorntest::tabRect(tabs, 0, &tab));
  RECT area{0, 0, 300, 200};
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  EXPECT_EQ((std::vector<LONG>{area.left, area.right, area.bottom}),
            (std::vector<LONG>{2, 298, 198}));
  EXPECT_GE(area.top, tab.bottom) << "pages start below the tabs";
  int row = area.top - 2;

  RECT back = area;
  SendMessageA(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&back));
  EXPECT_TRUE(back.top == 0 && back.bottom == 200) << back.top << "," << back.bottom;

  // A later TCS_BOTTOM moves the row (and the tabs) to the bottom.
  setStyleBits(tabs, TCS_BOTTOM, true);
  area = RECT{0, 0, 300, 200};
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  EXPECT_EQ(area.top, 2);
  EXPECT_EQ(area.bottom, 200 - row - 2);
  ASSERT_TRUE(vorntest::tabRect(tabs, 0, &tab));
  EXPECT_GE(tab.top, area.bottom) << "the tabs are drawn below the pages";
}

TEST_F(TabControl, ItemTextKeepsItsBytesAndIsCutToTheBuffer) {
  ASSERT_EQ(insert(0, "caf\xC3\xA9 \xE9"), 0);  // UTF-8 and a stray Windows-1252 byte

  char text[5] = "xxxx";
  TCITEMA out{};
  out.mask = TCIF_TEXT;
  out.pszText = text;
  out.cchTextMax = sizeof text;
  ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&out)));
  EXPECT_STREQ(text, "caf\xC3") << "cut to the buffer, bytes as given";
  EXPECT_FALSE(SendMessageA(tabs, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&out)));
}

}  // namespace
