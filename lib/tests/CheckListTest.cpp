#include "lib/CheckList.h"
#include "lib/tests/ControlHarness.h"

#include <string>

using namespace controltest;

namespace {

class CheckListTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    if (!systemClassExists("SysTreeView32"))
      GTEST_SKIP() << "no SysTreeView32 control in this build";
    list.createIn(panel);
    list.move(0, 0, 200, 200);
  }
  void TearDown() override {
    list.destroy();
    ControlTest::TearDown();
  }

  // The items' texts in the order the list shows them.
  std::vector<std::string> texts() {
    std::vector<std::string> out;
    for (HTREEITEM item = list.getRoot(); item; item = list.getNextSibling(item)) {
      char text[64] = {};
      TVITEMA query = {};
      query.mask = TVIF_TEXT;
      query.hItem = item;
      query.pszText = text;
      query.cchTextMax = sizeof text;
      SendMessageA(list.getHwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
      out.push_back(text);
    }
    return out;
  }

  class SelectionList : public CheckList {
   public:
    using CheckList::CheckList;
    bool onSelect(HTREEITEM item, LPARAM data) override {
      selected.push_back({item, data});
      return false;
    }
    std::vector<std::pair<HTREEITEM, LPARAM>> selected;
  } list{"options"};
};

TEST_F(CheckListTest, ItemsAreSortedAndCarryTheirValues) {
  EXPECT_TRUE(GetWindowLongA(list.getHwnd(), GWL_STYLE) & TVS_CHECKBOXES);
  HTREEITEM b = list.addItem("b", 2);
  HTREEITEM a = list.addItem("a", 1);
  HTREEITEM c = list.addItem("C", 3);
  EXPECT_EQ((std::vector<std::string>{"a", "b", "C"}), texts());
  EXPECT_EQ(1, list.getItemData(a));
  EXPECT_EQ(3, list.getItemData(c));
  list.removeItem(b);
  EXPECT_EQ(0, list.getItemData(b));  // a stale item has no value
  EXPECT_EQ((std::vector<std::string>{"a", "C"}), texts());
  list.clear();
  EXPECT_EQ(nullptr, list.getRoot());
  EXPECT_EQ(0, list.getItemData(a));
}

TEST_F(CheckListTest, OnlyStateImageOneIsUnchecked) {
  HTREEITEM item = list.addItem("sound", 0);
  EXPECT_FALSE(list.isChecked(item));  // new items start unchecked
  list.setChecked(item, true);
  EXPECT_TRUE(list.isChecked(item));
  list.setChecked(item, false);
  EXPECT_FALSE(list.isChecked(item));
  for (UINT image : {0u, 2u, 3u, 15u}) {
    TVITEMA change = {};
    change.mask = TVIF_STATE | TVIF_HANDLE;
    change.hItem = item;
    change.stateMask = TVIS_STATEIMAGEMASK;
    change.state = INDEXTOSTATEIMAGEMASK(image);
    SendMessageA(list.getHwnd(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change));
    EXPECT_TRUE(list.isChecked(item)) << image;
  }
}

TEST_F(CheckListTest, SelectionReachesOnSelectAndThenTheParent) {
  list.addItem("a", 10);
  HTREEITEM b = list.addItem("b", 20);
  SendMessageA(list.getHwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b));
  ASSERT_FALSE(list.selected.empty());
  EXPECT_EQ(b, list.selected.back().first);
  EXPECT_EQ(20, list.selected.back().second);
  EXPECT_EQ(b, list.getSelection());
  EXPECT_EQ(20, list.getSelectedData());
  bool parentSaw = false;
  for (const Notification& n : notifications())
    parentSaw |= n.message == WM_NOTIFY && n.code == TVN_SELCHANGEDA && n.from == list.getHwnd();
  EXPECT_TRUE(parentSaw);
}

}  // namespace
