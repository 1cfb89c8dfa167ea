// The list view: insertion places (beyond the end, sorted), finding by text ignoring case, and
// the per-item LVN_ITEMCHANGED and LVN_ITEMACTIVATE notifications of clicks, keys and program.
#include <gtest/gtest.h>

#include <QProxyStyle>
#include <QWidget>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

// One LVN_ITEMCHANGED: item, old state, new state, item data.
using Change = std::tuple<int, UINT, UINT, LPARAM>;
const UINT kBoth = LVIS_FOCUSED | LVIS_SELECTED;

class ListViewControl : public ::testing::Test {
 protected:
  void SetUp() override {
    top = makeNotifiedTop([this](const NMHDR* header, LRESULT*) {
      if (header->code == LVN_ITEMCHANGED) {
        auto* nm = reinterpret_cast<const NMLISTVIEW*>(header);
        EXPECT_EQ(nm->uChanged, static_cast<UINT>(LVIF_STATE));
        changes.emplace_back(nm->iItem, nm->uOldState, nm->uNewState, nm->lParam);
      }
      if (header->code == LVN_ITEMACTIVATE)
        activated.push_back(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
      return false;
    });
    list = create(0);
  }
  void TearDown() override { closeTop(top); }
  HWND create(DWORD sort) {
    if (list) DestroyWindow(list);
    return CreateWindowExA(WS_EX_CLIENTEDGE, "SysListView32", "list",
                           WS_CHILD | WS_VISIBLE | LVS_LIST | LVS_SINGLESEL | sort, 10, 10, 300,
                           300, top, reinterpret_cast<HMENU>(4), nullptr, nullptr);
  }
  template <typename Pointer>
  LRESULT send(UINT msg, WPARAM wParam, Pointer lParam) {
    return SendMessageA(list, msg, wParam, reinterpret_cast<LPARAM>(lParam));
  }
  LRESULT insert(int index, const char* text, LPARAM data = 0) {
    LVITEMA item{LVIF_TEXT | LVIF_PARAM, index, 0, 0, 0, const_cast<char*>(text), 0, 0, data, 0};
    return send(LVM_INSERTITEMA, 0, &item);
  }
  std::vector<std::string> texts() {
    std::vector<std::string> out;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char buffer[32] = "";
      LVITEMA item{LVIF_TEXT, i, 0, 0, 0, buffer, sizeof buffer, 0, 0, 0};
      send(LVM_GETITEMA, 0, &item);
      out.push_back(buffer);
    }
    return out;
  }
  LRESULT find(int start, UINT flags, const char* text) {
    LVFINDINFOA info{flags, text, 0, {}, 0};
    return send(LVM_FINDITEMA, static_cast<WPARAM>(start), &info);
  }
  LRESULT selected() {
    return SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  }
  void setState(int index, UINT state, UINT mask) {
    LVITEMA item{0, 0, 0, state, mask, nullptr, 0, 0, 0, 0};
    send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), &item);
  }

  HWND top = nullptr;
  HWND list = nullptr;
  std::vector<Change> changes;
  std::vector<int> activated;
};

TEST_F(ListViewControl, InsertionPlacesItems) {
  using Insert = std::tuple<int, const char*, LRESULT>;  // index, text, the place it got
  struct Placing {
    const char* name;
    DWORD sort;
    std::vector<Insert> inserts;
    std::vector<std::string> expected;
  };
  const Placing cases[] = {
      {"beyond the count appends", 0, {{5, "a", 0}, {9, "b", 1}, {3, "c", 2}}, {"a", "b", "c"}},
      {"negative fails", 0, {{-1, "a", -1}}, {}},
      {"ascending ignores index and case",
       LVS_SORTASCENDING,
       {{9, "beta", 0}, {0, "Alpha", 0}, {5, "gamma", 2}, {0, "BETA", 2}},
       {"Alpha", "beta", "BETA", "gamma"}},
      {"descending", LVS_SORTDESCENDING, {{1, "b", 0}, {1, "C", 0}, {1, "a", 2}}, {"C", "b", "a"}},
  };
  for (const Placing& k : cases) {
    SCOPED_TRACE(k.name);
    list = create(k.sort);
    for (auto [index, text, place] : k.inserts) EXPECT_EQ(insert(index, text), place) << text;
    EXPECT_EQ(texts(), k.expected);
  }
  EXPECT_TRUE(changes.empty()) << "inserting changes no item state";
}

TEST_F(ListViewControl, FindByStringIgnoresCase) {
  for (const char* t : {"Alice", "bob", "Carol", "bobby", "BOB"}) insert(99, t);
  const std::tuple<int, UINT, const char*, LRESULT> cases[] = {
      // start, flags, text, found
      {-1, LVFI_STRING, "alice", 0},
      {-1, LVFI_STRING, "BOB", 1},
      {1, LVFI_STRING, "bob", 4},  // searching after the start
      {4, LVFI_STRING | LVFI_WRAP, "bob", 1},
      {-1, LVFI_STRING, "bo", -1},  // the whole text must match
      {-1, LVFI_STRING | LVFI_PARTIAL, "CAR", 2},
      {-1, LVFI_STRING, "", -1},
  };
  for (auto [start, flags, text, found] : cases)
    EXPECT_EQ(find(start, flags, text), found) << text << " from " << start;
}

TEST_F(ListViewControl, StateChangesAreReportedPerItem) {
  for (int i = 0; i < 3; ++i) insert(i, std::string(1, 'a' + i).c_str(), 100 * (i + 1));
  struct Case {
    const char* name;
    std::function<void()> act;
    std::vector<Change> expected;
    LRESULT selectedAfter;
  };
  auto click = [this](int i) -> std::function<void()> {
    return [this, i] { vorntest::clickListItem(list, i); };
  };
  auto setTo = [this](UINT state, UINT mask) -> std::function<void()> {
    return [this, state, mask] { setState(0, state, mask); };
  };
  auto removeFirst = [this] { SendMessageA(list, LVM_DELETEITEM, 0, 0); };
  const Case cases[] = {
      {"gaining the focus changes nothing", [&] { SetFocus(list); }, {}, -1},
      {"Down selects the first",
       [&] { vorntest::pressKey(list, VK_DOWN); },
       {{0, 0, kBoth, 100}},
       0},
      {"a click: loss first, then gain", click(1), {{0, kBoth, 0, 100}, {1, 0, kBoth, 200}}, 1},
      {"clicking the same item again", click(1), {}, 1},
      {"program selects", setTo(kBoth, kBoth), {{1, kBoth, 0, 200}, {0, 0, kBoth, 100}}, 0},
      {"program deselects", setTo(0, LVIS_SELECTED), {{0, kBoth, LVIS_FOCUSED, 100}}, -1},
      {"deleting the focused item tells nothing", removeFirst, {}, -1},
      {"a click with nothing focused: both in one", click(0), {{0, 0, kBoth, 200}}, 0},
      {"deleting the selected item clears the selection quietly", removeFirst, {}, -1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    changes.clear();
    k.act();
    vorntest::pumpFor(5);  // nothing may arrive late
    EXPECT_EQ(changes, k.expected);
    EXPECT_EQ(selected(), k.selectedAfter);
  }
  EXPECT_EQ(texts(), std::vector<std::string>{"c"});
}

// A desktop style that activates items on a single click.
class SingleClickStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_ItemView_ActivateItemOnSingleClick) return 1;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

TEST_F(ListViewControl, DoubleClickAndEnterActivateOnceWhateverTheStyle) {
  insert(0, "a", 1);
  insert(1, "b", 2);
  SingleClickStyle style;
  for (bool singleClickStyle : {false, true}) {
    SCOPED_TRACE(singleClickStyle ? "single-click style" : "default style");
    if (singleClickStyle) vornplatform::clientWidgetOf(list)->setStyle(&style);
    setState(-1, 0, kBoth);
    changes.clear();
    activated.clear();
    ASSERT_TRUE(vorntest::clickListItem(list, 0));
    EXPECT_EQ(changes, (std::vector<Change>{{0, 0, kBoth, 1}}));
    EXPECT_TRUE(activated.empty()) << "a single click does not activate";
    changes.clear();
    ASSERT_TRUE(vorntest::doubleClickListItem(list, 1));
    EXPECT_EQ(changes, (std::vector<Change>{{0, kBoth, 0, 1}, {1, 0, kBoth, 2}}));
    EXPECT_EQ(activated, std::vector<int>{1});
    vorntest::clickListItem(list, 0);
    ASSERT_TRUE(vorntest::pressEnterInList(list));
    EXPECT_EQ(activated, (std::vector<int>{1, 0}));
  }
  vornplatform::clientWidgetOf(list)->setStyle(nullptr);
}

}  // namespace
