// The plug-ins list of a client: add-ins and in/outs split by use, moves that cancel out, and
// "Apply" removing then adding until the next show.
#include "host/PlugsListDialog.h"

#include <set>

#include "host/Host.h"
#include "host/tests/PlugsFixture.h"

namespace {

// The dialog with its client replaced: the plug-ins in `using_` are the client's, and what the
// dialog asks the client to add or remove is noted.
class ProbedDialog : public PlugsListDialog {
 public:
  ProbedDialog() : PlugsListDialog("alpha") {}
  std::set<std::string> using_;
  Lines calls;

  static Lines texts(ListView& list) {
    Lines out;
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
  Lines usedTexts() { return texts(used); }
  Lines unusedTexts() { return texts(unused); }
  // Clicks the item of that name in a list, then presses the button.
  void move(bool inUsed, const std::string& name, int button) {
    ListView& list = inUsed ? used : unused;
    Lines names = texts(list);
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) {
        EXPECT_TRUE(vorntest::clickListItem(list.getHwnd(), (int)i));
      }
    onButton(button);
  }

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
  ProbedDialog dialog;
};

TEST_F(PlugsListDialogTest, ShowListsOnlyAddinsAndInOutsByUseAndMovesBeforeApplyCancelOut) {
  EXPECT_EQ(Lines({"AddinUsed", "InOutUsed"}), dialog.usedTexts());
  EXPECT_EQ(Lines({"AddinFree", "AddinSpare"}), dialog.unusedTexts());
  dialog.onButton(2);  // nothing selected yet: nothing moves
  dialog.onButton(3);
  dialog.move(false, "AddinFree", 2);
  EXPECT_EQ(Lines({"AddinUsed", "InOutUsed", "AddinFree"}), dialog.usedTexts());
  dialog.move(true, "AddinFree", 3);
  dialog.move(true, "InOutUsed", 3);
  dialog.move(false, "InOutUsed", 2);
  dialog.onButton(1);
  EXPECT_TRUE(dialog.calls.empty());
  // A new show reads the client again.
  dialog.using_.insert("AddinFree");
  dialog.show();
  EXPECT_EQ(Lines({"AddinUsed", "AddinFree", "InOutUsed"}), dialog.usedTexts());
}

TEST_F(PlugsListDialogTest, ApplyRemovesThenAddsNewestFirstAndRepeatsUntilTheNextShow) {
  dialog.move(false, "AddinFree", 2);
  dialog.move(false, "AddinSpare", 2);
  dialog.move(true, "InOutUsed", 3);
  dialog.onButton(1);
  dialog.onButton(1);
  const Lines once = {"remove InOutUsed", "add AddinSpare", "add AddinFree"};
  Lines twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(twice, dialog.calls);
  dialog.show();
  dialog.onButton(1);
  EXPECT_EQ(twice, dialog.calls);
  // The close box only hides.
  SendMessageA(dialog.getHwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(dialog.getHwnd()));
  EXPECT_FALSE(IsWindowVisible(dialog.getHwnd()));
}

}  // namespace
