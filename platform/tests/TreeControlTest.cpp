// The tree view: insertion places (sorted ignoring case), handles that go stale when their item
// is deleted, check boxes switched on after creation, and TVN_SELCHANGEDA for every change of
// the selected item, by program, by the user or by deletion.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

class TreeControl : public ::testing::Test {
 protected:
  void SetUp() override {
    top = makeNotifiedTop([this](const NMHDR* header, LRESULT*) {
      if (header->code == TVN_SELCHANGEDA)
        changes.push_back(*reinterpret_cast<const NMTREEVIEWA*>(header));
      return false;
    });
    tree = create(top, TVS_HASLINES | TVS_LINESATROOT);
  }
  void TearDown() override { closeTop(top); }
  static HWND create(HWND parent, DWORD style) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, "SysTreeView32", "tree", WS_CHILD | WS_VISIBLE | style,
                           10, 10, 300, 300, parent, reinterpret_cast<HMENU>(9), nullptr, nullptr);
  }
  template <typename Pointer>
  LRESULT send(UINT msg, WPARAM wParam, Pointer lParam) {
    return SendMessageA(tree, msg, wParam, reinterpret_cast<LPARAM>(lParam));
  }
  HTREEITEM insert(const char* text, HTREEITEM after = TVI_LAST, HTREEITEM parent = TVI_ROOT,
                   LPARAM data = 0) {
    char* writable = const_cast<char*>(text);
    TVINSERTSTRUCTA in{
        parent, after, {TVIF_TEXT | TVIF_PARAM, 0, 0, 0, writable, 0, 0, 0, 0, data}};
    return reinterpret_cast<HTREEITEM>(send(TVM_INSERTITEMA, 0, &in));
  }
  HTREEITEM next(UINT relation, HTREEITEM item = nullptr) {
    return reinterpret_cast<HTREEITEM>(send(TVM_GETNEXTITEM, relation, item));
  }
  // The item's text read into a buffer of the given size, or "<fail>".
  std::string text(HTREEITEM item, int size = 64) {
    char buffer[64] = "";
    TVITEMA it{TVIF_TEXT | TVIF_HANDLE, item, 0, 0, buffer, size, 0, 0, 0, 0};
    return send(TVM_GETITEMA, 0, &it) ? buffer : "<fail>";
  }
  std::vector<std::string> children(HTREEITEM parent = nullptr) {
    std::vector<std::string> out;
    for (HTREEITEM i = next(TVGN_CHILD, parent); i; i = next(TVGN_NEXT, i)) out.push_back(text(i));
    return out;
  }
  int stateImage(HTREEITEM item) {
    TVITEMA it{TVIF_STATE | TVIF_HANDLE, item, 0, TVIS_STATEIMAGEMASK, nullptr, 0, 0, 0, 0, 0};
    return send(TVM_GETITEMA, 0, &it) ? static_cast<int>((it.state & TVIS_STATEIMAGEMASK) >> 12)
                                      : -1;
  }
  bool select(HTREEITEM item) { return send(TVM_SELECTITEM, TVGN_CARET, item) != 0; }
  bool remove(HTREEITEM item) { return send(TVM_DELETEITEM, 0, item) != 0; }

  HWND top = nullptr;
  HWND tree = nullptr;
  std::vector<NMTREEVIEWA> changes;
};

TEST_F(TreeControl, InsertionPlacesItems) {
  struct Order {
    const char* name;
    std::vector<std::pair<const char*, HTREEITEM>> inserts;  // nullptr: after the first item
    std::vector<std::string> expected;
  };
  const Order orders[] = {
      {"sorted ignores case",
       {{"beta", TVI_SORT}, {"Gamma", TVI_SORT}, {"alpha", TVI_SORT}, {"ALPHA2", TVI_SORT}},
       {"alpha", "ALPHA2", "beta", "Gamma"}},
      {"equal texts keep arrival order",
       {{"x", TVI_SORT}, {"X", TVI_SORT}, {"x", TVI_SORT}},
       {"x", "X", "x"}},
      {"first, then after it",
       {{"c", TVI_LAST}, {"a", TVI_FIRST}, {"b", nullptr}},
       {"a", "b", "c"}},
      {"sorted among unsorted",
       {{"m", TVI_LAST}, {"a", TVI_LAST}, {"b", TVI_SORT}},
       {"b", "m", "a"}},
  };
  for (const Order& order : orders) {
    SCOPED_TRACE(order.name);
    remove(TVI_ROOT);
    for (const auto& in : order.inserts)
      ASSERT_NE(insert(in.first, in.second ? in.second : next(TVGN_ROOT)), nullptr);
    EXPECT_EQ(children(), order.expected);
  }
  // Children are placed the same way under their parent.
  HTREEITEM parent = insert("parent");
  for (const char* t : {"Zed", "bee", "Ant"}) insert(t, TVI_SORT, parent);
  EXPECT_EQ(children(parent), (std::vector<std::string>{"Ant", "bee", "Zed"}));
  EXPECT_EQ(next(TVGN_PARENT, next(TVGN_CHILD, parent)), parent);
}

TEST_F(TreeControl, StaleAndForeignHandlesFailEverywhere) {
  HTREEITEM parent = insert("parent");
  HTREEITEM child = insert("child", TVI_LAST, parent);
  HTREEITEM keep = insert("keep");
  ASSERT_TRUE(remove(parent));
  for (HTREEITEM stale : {parent, child}) {
    TVITEMA it{TVIF_PARAM | TVIF_HANDLE, stale, 0, 0, nullptr, 0, 0, 0, 0, 99};
    EXPECT_FALSE(send(TVM_GETITEMA, 0, &it) || send(TVM_SETITEMA, 0, &it));
    EXPECT_EQ(it.lParam, 99) << "nothing written";
    EXPECT_FALSE(remove(stale) || select(stale) || send(TVM_EXPAND, TVE_EXPAND, stale));
    EXPECT_EQ(next(TVGN_NEXT, stale), nullptr);
    EXPECT_EQ(insert("orphan", TVI_LAST, stale), nullptr);
  }
  EXPECT_EQ(children(), std::vector<std::string>{"keep"});
  HTREEITEM fresh = insert("fresh");
  EXPECT_TRUE(fresh != parent && fresh != child) << "handles never come back";

  HWND other = create(top, 0);
  EXPECT_FALSE(SendMessageA(other, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(keep)));
  EXPECT_EQ(text(keep), "keep");
  EXPECT_EQ(text(keep, 3), "ke") << "cut to the caller's buffer";
}

TEST_F(TreeControl, CheckBoxesSwitchedOnLaterStartItemsUnchecked) {
  HTREEITEM before = insert("before");
  setStyleBits(tree, TVS_CHECKBOXES, true);
  HTREEITEM a = insert("a");
  HTREEITEM b = insert("b");
  EXPECT_EQ(stateImage(before), 0) << "items already there keep no box";
  EXPECT_EQ(stateImage(a), 1);

  // A person's clicks on the boxes toggle them both ways, without selecting.
  for (int expected : {2, 1, 2}) {
    ASSERT_TRUE(vorntest::clickTreeCheckBox(tree, a));
    EXPECT_EQ(stateImage(a), expected);
  }
  EXPECT_EQ(stateImage(b), 1);
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(next(TVGN_CARET), nullptr);
  EXPECT_FALSE(vorntest::clickTreeCheckBox(tree, before)) << "no box to click";

  // A clicked state survives the style going away and coming back.
  setStyleBits(tree, TVS_CHECKBOXES, false);
  EXPECT_EQ(stateImage(insert("plain")), 0);
  setStyleBits(tree, TVS_CHECKBOXES, true);
  EXPECT_EQ(stateImage(a), 2);
}

TEST_F(TreeControl, SelectionChangesAreReportedWithItemAndData) {
  HTREEITEM a = insert("a", TVI_LAST, TVI_ROOT, 10);
  HTREEITEM b = insert("b", TVI_LAST, TVI_ROOT, 20);
  HTREEITEM c = insert("c", TVI_LAST, TVI_ROOT, 30);
  HTREEITEM lone = insert("lone", TVI_LAST, c, 40);
  HTREEITEM spare = insert("spare", TVI_LAST, a);
  SetFocus(tree);
  vorntest::pumpFor(5);
  EXPECT_TRUE(changes.empty()) << "inserting and focusing select nothing";

  struct Case {
    const char* name;
    std::function<void()> act;
    HTREEITEM oldItem;  // the same as newItem: nothing changes, nothing is told
    HTREEITEM newItem;
    LPARAM newData;
    UINT action;
  };
  const Case cases[] = {
      {"program selects", [&] { select(a); }, nullptr, a, 10, TVC_UNKNOWN},
      {"selecting it again", [&] { select(a); }, a, a, 0, 0},
      {"user clicks", [&] { vorntest::clickTreeItem(tree, b); }, a, b, 20, TVC_BYMOUSE},
      {"clicking the selected", [&] { vorntest::clickTreeItem(tree, b); }, b, b, 0, 0},
      {"deleting another item", [&] { remove(spare); }, b, b, 0, 0},
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
    EXPECT_EQ(next(TVGN_CARET), k.newItem);
    if (k.oldItem == k.newItem) {
      EXPECT_TRUE(changes.empty());
      continue;
    }
    ASSERT_EQ(changes.size(), 1u);
    const NMTREEVIEWA& nm = changes[0];
    EXPECT_EQ(std::tie(nm.hdr.hwndFrom, nm.action, nm.itemOld.hItem, nm.itemNew.hItem),
              std::tie(tree, k.action, k.oldItem, k.newItem));
    EXPECT_EQ(nm.itemNew.lParam, k.newData);
  }
}

}  // namespace
