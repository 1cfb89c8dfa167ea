#include "lib/ListView.h"

#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"

#include <string>

namespace {

class LoggingList : public ListView {
 public:
  explicit LoggingList(int sortMode) : ListView("list", sortMode) {}
  bool onItemChanged(int index, LPARAM data) override { return note("changed", index, data); }
  bool onItemActivate(int index, LPARAM data) override { return note("activate", index, data); }
  std::vector<std::string> log;

 private:
  bool note(const char* what, int index, LPARAM data) {
    log.push_back(what + (" " + std::to_string(index)) + " " + std::to_string(data));
    return true;
  }
};

class ListViewTest : public LayoutTest {
 protected:
  LoggingList* makeList(int sortMode, std::initializer_list<const char*> texts) {
    LoggingList* list = keep(new LoggingList(sortMode));
    list->createIn(host);
    list->move(0, 0, 200, 300);
    LPARAM data = 10;
    for (const char* text : texts) list->addItem(text, data++);
    return list;
  }
  static std::string items(ListView* list) {
    std::string text;
    int count = static_cast<int>(SendMessageA(list->getHwnd(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char buffer[32] = {};
      LVITEMA item = {LVIF_TEXT, i, 0, 0, 0, buffer, sizeof buffer, 0, 0, 0};
      SendMessageA(list->getHwnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
      text += (i ? " " : "") + std::string(buffer);
    }
    return text;
  }
};

TEST_F(ListViewTest, ItemsAppendOrSortAndRemovalIgnoresCase) {
  const std::pair<int, const char*> cases[] = {
      {ListView::Unsorted, "pear apple Fig"},
      {ListView::Ascending, "apple Fig pear"},
      {ListView::Descending, "pear Fig apple"},
  };
  for (auto [mode, order] : cases) {
    LoggingList* list = makeList(mode, {"pear", "apple", "Fig"});
    EXPECT_EQ(order, items(list)) << "mode " << mode;
    list->removeItem("grape");  // not listed: nothing
    list->removeItem("FIG");
    list->removeItem("Apple");
    EXPECT_EQ("pear", items(list));
    list->destroy();
  }
}

TEST_F(ListViewTest, UserSelectionAndActivationReachTheHandlers) {
  LoggingList* list = makeList(ListView::Unsorted, {"one", "two"});
  EXPECT_EQ(0, list->getSelectedData());  // nothing selected
  ASSERT_TRUE(vorntest::clickListItem(list->getHwnd(), 1));
  EXPECT_EQ(11, list->getSelectedData());
  // One click, one report for the newly current item (the loser's carries no focus).
  EXPECT_EQ(std::vector<std::string>{"changed 1 11"}, list->log);

  ASSERT_TRUE(vorntest::clickListItem(list->getHwnd(), 0));
  ASSERT_TRUE(vorntest::pressEnterInList(list->getHwnd()));
  ASSERT_TRUE(vorntest::doubleClickListItem(list->getHwnd(), 1));
  EXPECT_EQ((std::vector<std::string>{"changed 1 11", "changed 0 10", "activate 0 10",
                                      "changed 1 11", "activate 1 11"}),
            list->log);

  // A report without the focus (an item losing its state, a selection alone) calls nothing.
  list->log.clear();
  NMLISTVIEW report = {};
  report.hdr = {list->getHwnd(), 0, LVN_ITEMCHANGED};
  report.uNewState = LVIS_SELECTED;
  SendMessageA(host->getHwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&report));
  EXPECT_TRUE(list->log.empty());
}

}  // namespace
