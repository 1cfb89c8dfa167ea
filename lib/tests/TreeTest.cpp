#include "lib/Tree.h"

#include "lib/tests/LayoutHarness.h"
#include "platform/testing.h"

#include <string>

using namespace layouttest;

namespace {

class LoggingTree : public Tree {
 public:
  explicit LoggingTree(int lineStyle = LinesAndButtons) : Tree("tree", lineStyle) {}
  bool onSelect(HTREEITEM item, LPARAM data) override {
    selections.push_back({item, data});
    return Tree::onSelect(item, data);
  }
  std::vector<std::pair<HTREEITEM, LPARAM>> selections;
};

class TreeTest : public LayoutTest {
 protected:
  LoggingTree* makeTree(int lineStyle = Tree::LinesAndButtons) {
    LoggingTree* tree = keep(new LoggingTree(lineStyle));
    tree->createIn(host);
    tree->move(0, 0, 300, 400);
    return tree;
  }
  static std::string textOf(Tree* tree, HTREEITEM item) {
    char text[64] = {};
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = sizeof text;
    SendMessageA(tree->getHwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return text;
  }
  // The texts of item and its following siblings, joined by blanks.
  static std::string siblings(Tree* tree, HTREEITEM item) {
    std::string text;
    for (; item; item = tree->getNextSibling(item))
      text += (text.empty() ? "" : " ") + textOf(tree, item);
    return text;
  }
};

TEST_F(TreeTest, RootItemsGoFirstLastOrSorted) {
  struct Case {
    int mode;  // -1: the mode the tree starts with
    const char* order;
  };
  const Case cases[] = {
      {-1, "Alpha beta charlie"},
      {Tree::InsertSorted, "Alpha beta charlie"},
      {Tree::InsertFirst, "charlie Alpha beta"},
      {Tree::InsertLast, "beta Alpha charlie"},
  };
  for (const Case& c : cases) {
    LoggingTree* tree = makeTree();
    if (c.mode >= 0) tree->setRootInsertMode(c.mode);
    for (const char* text : {"beta", "Alpha", "charlie"})
      EXPECT_NE(nullptr, tree->addRootItem(text, 1));
    EXPECT_EQ(c.order, siblings(tree, tree->getRoot())) << "mode " << c.mode;
    tree->destroy();
  }
}

TEST_F(TreeTest, ChildrenAreSortedAndCarryTheirData) {
  LoggingTree* tree = makeTree();
  tree->setRootInsertMode(Tree::InsertLast);
  HTREEITEM servers = tree->addRootItem("Servers", 100);
  HTREEITEM plugs = tree->addRootItem("Plug-ins", 200);
  HTREEITEM zed = tree->addChildItem(servers, "zed", 101);
  HTREEITEM able = tree->addChildItem(servers, "Able", 102);
  HTREEITEM inner = tree->addChildItem(able, "inner", 103);

  EXPECT_EQ("Servers Plug-ins", siblings(tree, tree->getRoot()));
  EXPECT_EQ(able, tree->getFirstChild(servers));
  EXPECT_EQ("Able zed", siblings(tree, tree->getFirstChild(servers)));
  EXPECT_EQ(servers, tree->getParentItem(zed));
  EXPECT_EQ(able, tree->getParentItem(inner));
  EXPECT_EQ(nullptr, tree->getFirstChild(plugs));
  struct Expect {
    HTREEITEM item;
    LPARAM data;
  };
  for (Expect e : {Expect{servers, 100}, Expect{plugs, 200}, Expect{zed, 101}, Expect{able, 102},
                   Expect{inner, 103}})
    EXPECT_EQ(e.data, tree->getItemData(e.item));
}

TEST_F(TreeTest, DeletedItemsReadAsNothing) {
  LoggingTree* tree = makeTree();
  HTREEITEM parentItem = tree->addRootItem("parent", 7);
  HTREEITEM child = tree->addChildItem(parentItem, "child", 8);
  HTREEITEM other = tree->addRootItem("other", 9);
  tree->removeItem(parentItem);
  EXPECT_EQ(0, tree->getItemData(parentItem));
  EXPECT_EQ(0, tree->getItemData(child));  // gone with its parent
  EXPECT_EQ(nullptr, tree->getParentItem(child));
  EXPECT_EQ(9, tree->getItemData(other));
  tree->removeItem(parentItem);  // twice: nothing
  EXPECT_EQ("other", siblings(tree, tree->getRoot()));

  tree->clear();
  EXPECT_EQ(nullptr, tree->getRoot());
  EXPECT_EQ(0, tree->getItemData(other));
  EXPECT_EQ(0, tree->getSelectedData());
}

TEST_F(TreeTest, SelectionReachesOnSelectWithTheItemsData) {
  LoggingTree* tree = makeTree();
  HTREEITEM first = tree->addRootItem("first", 11);
  HTREEITEM second = tree->addRootItem("second", 22);
  tree->selections.clear();
  tree->selectItem(second);
  EXPECT_EQ(second, tree->getSelection());
  EXPECT_EQ(22, tree->getSelectedData());
  ASSERT_FALSE(tree->selections.empty());
  EXPECT_EQ(second, tree->selections.back().first);
  EXPECT_EQ(22, tree->selections.back().second);

  ASSERT_TRUE(vorntest::clickTreeItem(tree->getHwnd(), first));
  EXPECT_EQ(first, tree->getSelection());
  ASSERT_FALSE(tree->selections.empty());
  EXPECT_EQ(first, tree->selections.back().first);
  EXPECT_EQ(11, tree->selections.back().second);
}

TEST_F(TreeTest, ExpandAndCollapseReachTheItem) {
  LoggingTree* tree = makeTree();
  HTREEITEM parentItem = tree->addRootItem("parent", 1);
  tree->addChildItem(parentItem, "child", 2);
  auto expanded = [&] {
    TVITEMA query = {};
    query.mask = TVIF_STATE;
    query.hItem = parentItem;
    query.stateMask = TVIS_EXPANDED;
    SendMessageA(tree->getHwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return (query.state & TVIS_EXPANDED) != 0;
  };
  tree->expand(parentItem);
  EXPECT_TRUE(expanded());
  tree->collapse(parentItem);
  EXPECT_FALSE(expanded());
}

TEST_F(TreeTest, LineStylesAddTheirBits) {
  const LONG_PTR lines = TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  const std::pair<int, LONG_PTR> cases[] = {
      {Tree::PlainLines, TVS_SHOWSELALWAYS},
      {Tree::Lines, lines},
      {Tree::LinesAndButtons, lines | TVS_HASBUTTONS},
      {7, 0},
  };
  for (auto [lineStyle, bits] : cases) {
    LoggingTree* tree = makeTree(lineStyle);
    EXPECT_STREQ("tree", tree->typeName());
    LONG_PTR style = GetWindowLongA(tree->getHwnd(), GWL_STYLE);
    EXPECT_EQ(bits, style & (lines | TVS_HASBUTTONS)) << "line style " << lineStyle;
    EXPECT_EQ(WS_CHILD | WS_VISIBLE, style & (WS_CHILD | WS_VISIBLE));
    tree->destroy();
  }
}

}  // namespace
