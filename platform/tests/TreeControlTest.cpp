// The tree view: insertion places (sorted ignoring case), handles that go stale when their item
// is deleted, check boxes switched on after creation, and TVN_SELCHANGEDA for every change of
// the selected item, by program, by the user or by deletion.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

class TreeControl : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    top = makeTop(40, 50, 400, 400);
    ShowWindow(top, SW_SHOW);
    answer() = [this](HWND hwnd, UINT msg, WPARAM, LPARAM lParam, LRESULT*) {
      if (hwnd != top || msg != WM_NOTIFY) return false;
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == TVN_SELCHANGEDA)
        changes.push_back(*reinterpret_cast<NMTREEVIEWA*>(lParam));
      return false;
    };
    tree = create(top, TVS_HASLINES | TVS_LINESATROOT);
  }
  void TearDown() override {
    if (IsWindow(top)) DestroyWindow(top);
    vornplatform::processEventsFor(1);
    reset();
  }
  static HWND create(HWND parent, DWORD style) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, "SysTreeView32", "tree", WS_CHILD | WS_VISIBLE | style,
                           10, 10, 300, 300, parent, reinterpret_cast<HMENU>(9), nullptr, nullptr);
  }
  HTREEITEM insert(const char* text, HTREEITEM after = TVI_LAST, HTREEITEM parent = TVI_ROOT,
                   LPARAM data = 0) {
    TVINSERTSTRUCTA in{};
    in.hParent = parent;
    in.hInsertAfter = after;
    in.item.mask = TVIF_TEXT | TVIF_PARAM;
    in.item.pszText = const_cast<char*>(text);
    in.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&in)));
  }
  HTREEITEM next(UINT relation, HTREEITEM item = nullptr) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
  }
  std::string text(HTREEITEM item) {
    char buffer[64] = "";
    TVITEMA it{};
    it.mask = TVIF_TEXT | TVIF_HANDLE;
    it.hItem = item;
    it.pszText = buffer;
    it.cchTextMax = sizeof buffer;
    return SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)) ? buffer : "<fail>";
  }
  std::vector<std::string> children(HTREEITEM parent = nullptr) {
    std::vector<std::string> out;
    for (HTREEITEM i = next(TVGN_CHILD, parent); i; i = next(TVGN_NEXT, i)) out.push_back(text(i));
    return out;
  }
  int stateImage(HTREEITEM item) {
    TVITEMA it{};
    it.mask = TVIF_STATE | TVIF_HANDLE;
    it.hItem = item;
    it.stateMask = TVIS_STATEIMAGEMASK;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return -1;
    return static_cast<int>((it.state & TVIS_STATEIMAGEMASK) >> 12);
  }
  BOOL select(HTREEITEM item) {
    return static_cast<BOOL>(
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
  }
  BOOL remove(HTREEITEM item) {
    return static_cast<BOOL>(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
  }

  HWND top = nullptr;
  HWND tree = nullptr;
  std::vector<NMTREEVIEWA> changes;
};

struct Insertion {
  const char* text;
  HTREEITEM after;  // TVI_FIRST, TVI_LAST, TVI_SORT, or nullptr for "after the previous insert"
};
struct Order {
  const char* name;
  std::vector<Insertion> inserts;
  std::vector<std::string> expected;
};

TEST_F(TreeControl, InsertionPlacesItems) {
  const Order orders[] = {
      {"last keeps arrival order",
       {{"b", TVI_LAST}, {"a", TVI_LAST}, {"c", TVI_LAST}},
       {"b", "a", "c"}},
      {"first reverses", {{"b", TVI_FIRST}, {"a", TVI_FIRST}, {"c", TVI_FIRST}}, {"c", "a", "b"}},
      {"sorted ignores case",
       {{"beta", TVI_SORT},
        {"Gamma", TVI_SORT},
        {"alpha", TVI_SORT},
        {"Delta", TVI_SORT},
        {"ALPHA2", TVI_SORT}},
       {"alpha", "ALPHA2", "beta", "Delta", "Gamma"}},
      {"equal texts keep arrival order",
       {{"x", TVI_SORT}, {"X", TVI_SORT}, {"x", TVI_SORT}},
       {"x", "X", "x"}},
      {"after an item",
       {{"a", TVI_LAST}, {"c", TVI_LAST}, {"b", nullptr}, {"d", TVI_LAST}},
       {"a", "b", "c", "d"}},
      {"sorted among unsorted",
       {{"m", TVI_LAST}, {"a", TVI_LAST}, {"b", TVI_SORT}},
       {"b", "m", "a"}},
  };
  for (const Order& order : orders) {
    SCOPED_TRACE(order.name);
    remove(TVI_ROOT);
    for (const Insertion& in : order.inserts) {
      // "after an item": after the first one inserted.
      HTREEITEM after = in.after ? in.after : next(TVGN_ROOT);
      ASSERT_NE(insert(in.text, after), nullptr);
    }
    EXPECT_EQ(children(), order.expected);
  }
  // Children are placed the same way under their parent.
  remove(TVI_ROOT);
  HTREEITEM parent = insert("parent");
  insert("Zed", TVI_SORT, parent);
  insert("bee", TVI_SORT, parent);
  insert("Ant", TVI_SORT, parent);
  EXPECT_EQ(children(parent), (std::vector<std::string>{"Ant", "bee", "Zed"}));
  EXPECT_EQ(next(TVGN_PARENT, next(TVGN_CHILD, parent)), parent);
  EXPECT_EQ(next(TVGN_PARENT, parent), nullptr);
}

TEST_F(TreeControl, DeletedItemsHandlesFailEverywhere) {
  HTREEITEM parent = insert("parent", TVI_LAST, TVI_ROOT, 5);
  HTREEITEM child = insert("child", TVI_LAST, parent, 6);
  HTREEITEM keep = insert("keep", TVI_LAST, TVI_ROOT, 7);
  ASSERT_TRUE(remove(parent));

  for (HTREEITEM stale : {parent, child}) {
    TVITEMA it{};
    it.mask = TVIF_PARAM | TVIF_HANDLE;
    it.hItem = stale;
    it.lParam = 99;
    EXPECT_FALSE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)));
    EXPECT_EQ(it.lParam, 99) << "nothing written";
    EXPECT_FALSE(SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it)));
    EXPECT_FALSE(remove(stale));
    EXPECT_FALSE(select(stale));
    EXPECT_FALSE(SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(stale)));
    EXPECT_EQ(next(TVGN_NEXT, stale), nullptr);
    EXPECT_EQ(insert("orphan", TVI_LAST, stale), nullptr);
  }
  EXPECT_EQ(children(), std::vector<std::string>{"keep"});

  // Handles never come back, and belong to their own tree.
  HTREEITEM fresh = insert("fresh");
  EXPECT_NE(fresh, parent);
  EXPECT_NE(fresh, child);
  HWND other = create(top, 0);
  EXPECT_EQ(SendMessageA(other, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(keep)), FALSE);
  EXPECT_EQ(text(keep), "keep");

  ASSERT_TRUE(remove(TVI_ROOT));
  EXPECT_EQ(text(keep), "<fail>");
  EXPECT_EQ(next(TVGN_ROOT), nullptr);
}

TEST_F(TreeControl, CheckBoxesSwitchedOnLaterStartItemsUnchecked) {
  HTREEITEM before = insert("before");
  SetWindowLongA(tree, GWL_STYLE, GetWindowLongA(tree, GWL_STYLE) | TVS_CHECKBOXES);
  HTREEITEM a = insert("a", TVI_SORT);
  HTREEITEM b = insert("b", TVI_SORT);
  EXPECT_EQ(stateImage(before), 0) << "items already there keep no box";
  EXPECT_EQ(stateImage(a), 1);
  EXPECT_EQ(stateImage(b), 1);

  TVITEMA it{};
  it.mask = TVIF_STATE | TVIF_HANDLE;
  it.hItem = b;
  it.stateMask = TVIS_STATEIMAGEMASK;
  it.state = INDEXTOSTATEIMAGEMASK(2);
  ASSERT_TRUE(SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it)));
  EXPECT_EQ(stateImage(b), 2);

  // A person's clicks on the boxes toggle them both ways, without selecting.
  changes.clear();
  ASSERT_TRUE(vorntest::clickTreeCheckBox(tree, a));
  EXPECT_EQ(stateImage(a), 2);
  ASSERT_TRUE(vorntest::clickTreeCheckBox(tree, b));
  EXPECT_EQ(stateImage(b), 1);
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(next(TVGN_CARET), nullptr);
  EXPECT_FALSE(vorntest::clickTreeCheckBox(tree, before)) << "no box to click";

  // A clicked state survives the style going away and coming back.
  SetWindowLongA(tree, GWL_STYLE, GetWindowLongA(tree, GWL_STYLE) & ~TVS_CHECKBOXES);
  EXPECT_EQ(stateImage(a), 2);
  HTREEITEM plain = insert("plain");
  EXPECT_EQ(stateImage(plain), 0);
  SetWindowLongA(tree, GWL_STYLE, GetWindowLongA(tree, GWL_STYLE) | TVS_CHECKBOXES);
  EXPECT_EQ(stateImage(a), 2);
}

TEST_F(TreeControl, SelectionChangesAreReportedWithItemAndData) {
  HTREEITEM a = insert("a", TVI_LAST, TVI_ROOT, 10);
  HTREEITEM b = insert("b", TVI_LAST, TVI_ROOT, 20);
  HTREEITEM c = insert("c", TVI_LAST, TVI_ROOT, 30);
  HTREEITEM lone = insert("lone", TVI_LAST, c, 40);
  SetFocus(tree);
  vorntest::pumpFor(5);
  EXPECT_TRUE(changes.empty()) << "inserting and focusing select nothing";
  EXPECT_EQ(next(TVGN_CARET), nullptr);

  struct Case {
    const char* name;
    std::function<void()> act;
    HTREEITEM oldItem;
    HTREEITEM newItem;
    LPARAM newData;
    UINT action;
  };
  const Case cases[] = {
      {"program selects", [&] { select(a); }, nullptr, a, 10, TVC_UNKNOWN},
      {"user clicks", [&] { vorntest::clickTreeItem(tree, b); }, a, b, 20, TVC_BYMOUSE},
      {"deleting the selected moves to the next", [&] { remove(b); }, b, c, 30, TVC_UNKNOWN},
      {"the only child deleted goes to its parent",
       [&] {
         select(lone);
         changes.clear();
         remove(lone);
       },
       lone, c, 30, TVC_UNKNOWN},
      {"the last item deleted goes to its previous", [&] { remove(c); }, c, a, 10, TVC_UNKNOWN},
      {"deleting everything leaves none", [&] { remove(TVI_ROOT); }, a, nullptr, 0, TVC_UNKNOWN},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    changes.clear();
    k.act();
    ASSERT_EQ(changes.size(), 1u);
    const NMTREEVIEWA& nm = changes[0];
    EXPECT_EQ(nm.hdr.hwndFrom, tree);
    EXPECT_EQ(nm.hdr.idFrom, 9u);
    EXPECT_EQ(nm.action, k.action);
    EXPECT_EQ(nm.itemOld.hItem, k.oldItem);
    EXPECT_EQ(nm.itemNew.hItem, k.newItem);
    EXPECT_EQ(nm.itemNew.lParam, k.newData);
    EXPECT_EQ(next(TVGN_CARET), k.newItem);
    if (k.newItem) {
      EXPECT_TRUE(nm.itemNew.state & TVIS_SELECTED);
    }
  }

  // No change, no notification.
  HTREEITEM x = insert("x");
  HTREEITEM y = insert("y");
  select(x);
  changes.clear();
  select(x);
  remove(y);
  vorntest::clickTreeItem(tree, x);
  EXPECT_TRUE(changes.empty());
}

TEST_F(TreeControl, ItemsReadBackWhatWasWritten) {
  HTREEITEM item = insert("caf\xC3\xA9 \xE9", TVI_LAST, TVI_ROOT, -5);
  char small[5];
  TVITEMA it{};
  it.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
  it.hItem = item;
  it.pszText = small;
  it.cchTextMax = sizeof small;
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)));
  EXPECT_STREQ(small, "caf\xC3");
  EXPECT_EQ(it.lParam, -5);
  EXPECT_EQ(it.cChildren, 0);
  EXPECT_FALSE(it.state & (TVIS_SELECTED | TVIS_EXPANDED));

  HTREEITEM child = insert("child", TVI_LAST, item);
  TVITEMA set{};
  set.mask = TVIF_TEXT | TVIF_PARAM;
  set.hItem = child;
  set.pszText = const_cast<char*>("renamed");
  set.lParam = 123;
  ASSERT_TRUE(SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&set)));
  EXPECT_EQ(text(child), "renamed");
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 2);
}

}  // namespace
