#include "host/PlugsListDialog.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/tests/PlugsFixture.h"
#include "platform/testing.h"

namespace {

// The dialog with its client replaced: the plug-ins in `using` are the client's, and what the
// dialog asks the client to add or remove is noted.
class ProbedDialog : public PlugsListDialog {
 public:
  ProbedDialog() : PlugsListDialog("alpha") {}

  std::set<std::string> using_;
  std::vector<std::string> calls;

  // The texts of a list, in order.
  static std::vector<std::string> texts(ListView& list) {
    std::vector<std::string> out;
    int count = static_cast<int>(SendMessageA(list.getHwnd(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char buffer[128] = {};
      LVITEMA item = {};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = buffer;
      item.cchTextMax = sizeof buffer;
      SendMessageA(list.getHwnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
      out.push_back(buffer);
    }
    return out;
  }
  std::vector<std::string> usedTexts() { return texts(used); }
  std::vector<std::string> unusedTexts() { return texts(unused); }
  // Selects the item of that name in a list by clicking it.
  bool pick(bool inUsed, const std::string& name) {
    ListView& list = inUsed ? used : unused;
    std::vector<std::string> names = texts(list);
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return vorntest::clickListItem(list.getHwnd(), static_cast<int>(i));
    return false;
  }
  HWND closeHwnd() { return closeButton.getHwnd(); }

 protected:
  bool isUsed(PlugRecord* record) override { return using_.count(record->name) != 0; }
  void addToClient(PlugRecord* record) override {
    calls.push_back(std::string("add ") + record->name);
  }
  void removeFromClient(PlugRecord* record) override {
    calls.push_back(std::string("remove ") + record->name);
  }
};

class PlugsListDialogTest : public PlugsTest {
 protected:
  void SetUp() override {
    PlugsTest::SetUp();
    if (IsSkipped()) return;
    if (lacksClass("SysListView32")) GTEST_SKIP() << "no list view in this build";
    managers.reset(new PlugsManagers(&table, settings.c_str(), &hooks));
    plugsManagers = managers.get();
    for (auto [name, kind] : {std::pair<const char*, int>{"AddinUsed", PLUG_KIND_ADDIN},
                              {"AddinFree", PLUG_KIND_ADDIN},
                              {"AddinSpare", PLUG_KIND_ADDIN},
                              {"InOutUsed", PLUG_KIND_INOUT},
                              {"TheMain", PLUG_KIND_MAIN},
                              {"TheSystem", PLUG_KIND_SYSTEM}}) {
      PlugList* list = managers->plugList(kind);
      list->emplace_back();
      std::snprintf(list->back().name, sizeof list->back().name, "%s", name);
      list->back().kind = kind;
    }
    dialog.using_ = {"AddinUsed", "InOutUsed", "TheMain", "TheSystem"};
    dialog.create(nullptr);
    dialog.show();
  }
  void TearDown() override {
    plugsManagers = nullptr;
    PlugsTest::TearDown();
  }
  using Names = std::vector<std::string>;

  ProbedDialog dialog;
};

TEST_F(PlugsListDialogTest, ShowListsOnlyAddinsAndInOutsByWhetherTheClientUsesThem) {
  char title[64] = {};
  GetWindowTextA(dialog.getHwnd(), title, sizeof title);
  EXPECT_STREQ("Plugs list of 'alpha'", title);
  EXPECT_TRUE(IsWindowVisible(dialog.getHwnd()));
  EXPECT_EQ(Names({"AddinUsed", "InOutUsed"}), dialog.usedTexts());
  EXPECT_EQ(Names({"AddinFree", "AddinSpare"}), dialog.unusedTexts());

  // A new show reads the client again.
  dialog.using_.insert("AddinFree");
  dialog.show();
  EXPECT_EQ(Names({"AddinUsed", "AddinFree", "InOutUsed"}), dialog.usedTexts());
  EXPECT_EQ(Names({"AddinSpare"}), dialog.unusedTexts());
}

TEST_F(PlugsListDialogTest, MovingThereAndBackBeforeApplyChangesNothing) {
  dialog.onButton(2);  // nothing selected yet: nothing moves
  dialog.onButton(3);
  ASSERT_TRUE(dialog.pick(false, "AddinFree"));
  dialog.onButton(2);
  EXPECT_EQ(Names({"AddinUsed", "InOutUsed", "AddinFree"}), dialog.usedTexts());
  ASSERT_TRUE(dialog.pick(true, "AddinFree"));
  dialog.onButton(3);
  ASSERT_TRUE(dialog.pick(true, "InOutUsed"));
  dialog.onButton(3);
  ASSERT_TRUE(dialog.pick(false, "InOutUsed"));
  dialog.onButton(2);
  dialog.onButton(1);
  EXPECT_TRUE(dialog.calls.empty());
  EXPECT_EQ(Names({"AddinUsed", "InOutUsed"}), dialog.usedTexts());
}

TEST_F(PlugsListDialogTest, ApplyRemovesThenAddsNewestFirstAndRepeatsUntilTheNextShow) {
  for (const char* name : {"AddinFree", "AddinSpare"}) {
    ASSERT_TRUE(dialog.pick(false, name));
    dialog.onButton(2);
  }
  ASSERT_TRUE(dialog.pick(true, "InOutUsed"));
  dialog.onButton(3);
  dialog.onButton(1);
  const Names once = {"remove InOutUsed", "add AddinSpare", "add AddinFree"};
  EXPECT_EQ(once, dialog.calls);
  dialog.onButton(1);
  Names twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(twice, dialog.calls);

  dialog.show();
  dialog.onButton(1);
  EXPECT_EQ(twice, dialog.calls);
}

TEST_F(PlugsListDialogTest, CloseAndTheCloseBoxOnlyHide) {
  RECT r = {};
  GetClientRect(dialog.closeHwnd(), &r);
  ASSERT_TRUE(vorntest::clickAt(dialog.closeHwnd(), r.right / 2, r.bottom / 2));
  EXPECT_FALSE(IsWindowVisible(dialog.getHwnd()));
  dialog.show();
  SendMessageA(dialog.getHwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(dialog.getHwnd()));
  EXPECT_FALSE(IsWindowVisible(dialog.getHwnd()));
}

}  // namespace
