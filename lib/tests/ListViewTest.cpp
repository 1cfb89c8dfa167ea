#include "lib/ListView.h"

#include "lib/tests/LayoutHarness.h"
#include "platform/testing.h"

#include <string>

using namespace layouttest;

namespace {

class LoggingList : public ListView {
 public:
  explicit LoggingList(int sortMode) : ListView("list", sortMode) {}
  bool onItemChanged(int index, LPARAM data) override {
    log.push_back("changed " + std::to_string(index) + " " + std::to_string(data));
    return ListView::onItemChanged(index, data);
  }
  bool onItemActivate(int index, LPARAM data) override {
    log.push_back("activate " + std::to_string(index) + " " + std::to_string(data));
    return ListView::onItemActivate(index, data);
  }
  std::vector<std::string> log;
};

class ListViewTest : public LayoutTest {
 protected:
  LoggingList* makeList(int sortMode = ListView::Unsorted) {
    LoggingList* list = keep(new LoggingList(sortMode));
    list->createIn(host);
    list->move(0, 0, 200, 300);
    return list;
  }
  static std::string items(ListView* list) {
    std::string text;
    int count = static_cast<int>(SendMessageA(list->getHwnd(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char buffer[32] = {};
      LVITEMA item = {};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = buffer;
      item.cchTextMax = sizeof buffer;
      SendMessageA(list->getHwnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
      text += (i ? " " : "") + std::string(buffer);
    }
    return text;
  }
  // A notification as the control would send it to its parent.
  static LRESULT notify(ListView* list, UINT code, int index, UINT newState, LPARAM data) {
    NMLISTVIEW record = {};
    record.hdr.hwndFrom = list->getHwnd();
    record.hdr.code = code;
    record.iItem = index;
    record.uNewState = newState;
    record.uChanged = LVIF_STATE;
    record.lParam = data;
    return SendMessageA(GetParent(list->getHwnd()), WM_NOTIFY, 0,
                        reinterpret_cast<LPARAM>(&record));
  }
};

TEST_F(ListViewTest, ItemsAreAppendedOrSortedByTheControl) {
  const std::pair<int, const char*> cases[] = {
      {ListView::Unsorted, "pear apple Fig"},
      {ListView::Ascending, "apple Fig pear"},
      {ListView::Descending, "pear Fig apple"},
  };
  for (auto [mode, order] : cases) {
    LoggingList* list = makeList(mode);
    EXPECT_STREQ("list", list->typeName());
    LONG_PTR style = GetWindowLongA(list->getHwnd(), GWL_STYLE);
    EXPECT_EQ(LVS_LIST | LVS_SINGLESEL, style & (LVS_TYPEMASK | LVS_SINGLESEL));
    list->addItem("pear", 1);
    list->addItem("apple", 2);
    list->addItem("Fig", 3);
    EXPECT_EQ(order, items(list)) << "mode " << mode;
    list->clear();
    EXPECT_EQ("", items(list));
    list->destroy();
  }
}

TEST_F(ListViewTest, RemoveFindsTheTextIgnoringCase) {
  LoggingList* list = makeList();
  for (const char* text : {"Alice", "bob", "Carol"}) list->addItem(text, 0);
  list->removeItem("dave");  // not listed: nothing
  list->removeItem(nullptr);
  EXPECT_EQ("Alice bob Carol", items(list));
  list->removeItem("BOB");
  EXPECT_EQ("Alice Carol", items(list));
  list->removeItem("alice");
  EXPECT_EQ("Carol", items(list));
}

TEST_F(ListViewTest, UserSelectionReachesOnItemChangedAndActivation) {
  LoggingList* list = makeList();
  list->addItem("one", 10);
  list->addItem("two", 20);
  EXPECT_EQ(-1, list->getSelectedIndex());
  EXPECT_EQ(0, list->getSelectedData());

  ASSERT_TRUE(vorntest::clickListItem(list->getHwnd(), 1));
  EXPECT_EQ(1, list->getSelectedIndex());
  EXPECT_EQ(20, list->getSelectedData());
  // The control may report the focus and the selection apart; each report that has the focus
  // names the clicked item.
  ASSERT_FALSE(list->log.empty());
  for (const std::string& entry : list->log) EXPECT_EQ("changed 1 20", entry);

  list->log.clear();
  ASSERT_TRUE(vorntest::doubleClickListItem(list->getHwnd(), 0));
  ASSERT_FALSE(list->log.empty());
  EXPECT_EQ("activate 0 10", list->log.back());
  list->log.clear();
  ASSERT_TRUE(vorntest::pressEnterInList(list->getHwnd()));
  EXPECT_EQ((std::vector<std::string>{"activate 0 10"}), list->log);
}

TEST_F(ListViewTest, OnlyTheFocusedItemsChangeCallsTheHandler) {
  LoggingList* list = makeList();
  list->addItem("one", 10);
  notify(list, LVN_ITEMCHANGED, 0, LVIS_SELECTED, 10);  // a selection without the focus
  notify(list, LVN_ITEMCHANGED, 0, 0, 10);              // an item losing its state
  EXPECT_TRUE(list->log.empty());
  notify(list, LVN_ITEMCHANGED, 0, LVIS_FOCUSED | LVIS_SELECTED, 10);
  EXPECT_EQ((std::vector<std::string>{"changed 0 10"}), list->log);
}

TEST_F(ListViewTest, ShowSelectionAlwaysTogglesItsStyleBit) {
  LoggingList* list = makeList();
  for (bool on : {true, false, true}) {
    list->setShowSelectionAlways(on);
    LONG_PTR style = GetWindowLongA(list->getHwnd(), GWL_STYLE);
    EXPECT_EQ(on, (style & LVS_SHOWSELALWAYS) != 0);
    EXPECT_EQ(LVS_LIST | LVS_SINGLESEL, style & (LVS_TYPEMASK | LVS_SINGLESEL));
  }
}

}  // namespace
