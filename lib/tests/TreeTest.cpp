#include "lib/Tree.h"

#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"

#include <string>

namespace {

class LoggingTree : public Tree {
 public:
  LoggingTree() : Tree("tree", LinesAndButtons) {}
  bool onSelect(HTREEITEM item, LPARAM data) override {
    selected.push_back({item, data});
    return false;
  }
  std::vector<std::pair<HTREEITEM, LPARAM>> selected;
};

class TreeTest : public LayoutTest {
 protected:
  LoggingTree* makeTree() {
    LoggingTree* tree = keep(new LoggingTree);
    tree->createIn(host);
    tree->move(0, 0, 300, 400);
    return tree;
  }
  // The texts of item and its following siblings.
  static std::string siblings(Tree* tree, HTREEITEM item) {
    std::string text;
    for (; item; item = tree->getNextSibling(item)) {
      char buffer[32] = {};
      TVITEMA query = {TVIF_TEXT, item, 0, 0, buffer, sizeof buffer, 0, 0, 0, 0};
      SendMessageA(tree->getHwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
      text += (text.empty() ? "" : " ") + std::string(buffer);
    }
    return text;
  }
};

TEST_F(TreeTest, RootItemsGoFirstLastOrSortedChildrenAlwaysSorted) {
  const std::pair<int, const char*> cases[] = {
      {-1, "Alpha beta charlie"},  // the mode a tree starts with
      {Tree::InsertFirst, "charlie Alpha beta"},
      {Tree::InsertLast, "beta Alpha charlie"},
  };
  for (auto [mode, order] : cases) {
    LoggingTree* tree = makeTree();
    if (mode >= 0) tree->setRootInsertMode(mode);
    HTREEITEM beta = tree->addRootItem("beta", 1);
    for (const char* text : {"Alpha", "charlie"}) tree->addRootItem(text, 2);
    for (const char* text : {"zed", "Able", "mid"}) tree->addChildItem(beta, text, 3);
    EXPECT_EQ(order, siblings(tree, tree->getRoot())) << "mode " << mode;
    EXPECT_EQ("Able mid zed", siblings(tree, tree->getFirstChild(beta)));
    EXPECT_EQ(beta, tree->getParentItem(tree->getFirstChild(beta)));
    tree->destroy();
  }
}

TEST_F(TreeTest, ItemsCarryTheirDataAndDeletedOnesReadZero) {
  LoggingTree* tree = makeTree();
  HTREEITEM parentItem = tree->addRootItem("parent", 7);
  HTREEITEM child = tree->addChildItem(parentItem, "child", 8);
  HTREEITEM other = tree->addRootItem("other", 9);
  tree->removeItem(parentItem);
  EXPECT_EQ(0, tree->getItemData(parentItem));
  EXPECT_EQ(0, tree->getItemData(child));  // went with its parent
  EXPECT_EQ(9, tree->getItemData(other));
  tree->clear();
  EXPECT_EQ(0, tree->getItemData(other));
  EXPECT_EQ(0, tree->getSelectedData());
}

TEST_F(TreeTest, SelectionReachesOnSelectWithTheItemsData) {
  LoggingTree* tree = makeTree();
  HTREEITEM first = tree->addRootItem("first", 11);
  HTREEITEM second = tree->addRootItem("second", 22);
  tree->selected.clear();
  tree->selectItem(second);
  ASSERT_TRUE(vorntest::clickTreeItem(tree->getHwnd(), first));
  EXPECT_EQ(11, tree->getSelectedData());
  using Selected = std::vector<std::pair<HTREEITEM, LPARAM>>;
  EXPECT_EQ((Selected{{second, 22}, {first, 11}}), tree->selected);
}

}  // namespace
