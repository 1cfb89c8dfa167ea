#include "lib/CheckList.h"
#include "lib/tests/ToolkitFixture.h"

#include <string>

namespace {

class SelectionList : public CheckList {
 public:
  using CheckList::CheckList;
  bool onSelect(HTREEITEM item, LPARAM data) override {
    selected.push_back({item, data});
    return false;
  }
  std::vector<std::pair<HTREEITEM, LPARAM>> selected;
};

class CheckListTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    if (lacksClass("SysTreeView32")) GTEST_SKIP() << "no SysTreeView32 control in this build";
    list.createIn(panel);
    list.move(0, 0, 200, 200);
  }
  void TearDown() override {
    list.destroy();
    ControlTest::TearDown();
  }
  // The items' texts in the order the list shows them.
  std::string texts() {
    std::string out;
    for (HTREEITEM item = list.getRoot(); item; item = list.getNextSibling(item)) {
      char text[64] = {};
      TVITEMA query = {TVIF_TEXT, item, 0, 0, text, sizeof text, 0, 0, 0, 0};
      SendMessageA(list.getHwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
      out += out.empty() ? text : " " + std::string(text);
    }
    return out;
  }

  SelectionList list{"options"};
};

TEST_F(CheckListTest, ItemsAreSortedAndStaleItemsHaveNoValue) {
  HTREEITEM b = list.addItem("b", 2);
  HTREEITEM a = list.addItem("a", 1);
  list.addItem("C", 3);
  EXPECT_EQ("a b C", texts());
  list.removeItem(b);
  EXPECT_EQ(0, list.getItemData(b));
  EXPECT_EQ("a C", texts());
  list.clear();
  EXPECT_EQ(0, list.getItemData(a));
}

TEST_F(CheckListTest, OnlyStateImageOneIsUnchecked) {
  HTREEITEM item = list.addItem("sound", 0);
  EXPECT_FALSE(list.isChecked(item));  // new items start unchecked
  list.setChecked(item, true);
  EXPECT_TRUE(list.isChecked(item));
  for (UINT image : {1u, 0u, 2u, 3u, 15u}) {
    TVITEMA change = {TVIF_STATE | TVIF_HANDLE,
                      item,
                      INDEXTOSTATEIMAGEMASK(image),
                      TVIS_STATEIMAGEMASK,
                      nullptr,
                      0,
                      0,
                      0,
                      0,
                      0};
    SendMessageA(list.getHwnd(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(image != 1, list.isChecked(item)) << image;
  }
}

TEST_F(CheckListTest, SelectionReachesOnSelectAndThenTheParent) {
  list.addItem("a", 10);
  HTREEITEM b = list.addItem("b", 20);
  SendMessageA(list.getHwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b));
  ASSERT_FALSE(list.selected.empty());
  EXPECT_EQ(std::make_pair(b, LPARAM{20}), list.selected.back());
  EXPECT_EQ(20, list.getSelectedData());
  bool parentSaw = false;
  for (const Notification& n : notifications())
    parentSaw |= n.message == WM_NOTIFY && n.code == TVN_SELCHANGEDA && n.from == list.getHwnd();
  EXPECT_TRUE(parentSaw);
}

}  // namespace
