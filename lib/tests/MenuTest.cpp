// Menus: item states read back from the platform menu, pop-up choices reaching the owner's
// onCommand, and a menu bar that takes its room from the owner's client area.
#include "lib/Menu.h"

#include "lib/TopWindow.h"
#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"

namespace {

class CommandWindow : public TopWindow {
 public:
  CommandWindow() : TopWindow("commands", 50, 50, 400, 300, false) {}
  bool onCommand(int id) override {
    commands.push_back(id);
    return true;
  }
  std::vector<int> commands;
};

int clientHeight(HWND hwnd) {
  RECT rect = {0, 0, 0, 0};
  GetClientRect(hwnd, &rect);
  return rect.bottom;
}

class MenuTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    window.createIn(root);
    window.show();
  }
  bool commandArrives() {
    return vorntest::pumpUntil([this] { return !window.commands.empty(); }, 2000);
  }
  CommandWindow window;
};

TEST_F(MenuTest, ItemStatesAndExactCheckedReading) {
  Menu* menu = (new Menu(false))->addRef();
  Menu* sub = (new Menu(false))->addRef();
  Menu* bar = (new Menu(true))->addRef();
  HMENU handle = menu->getHandle();
  menu->appendItem("&One", 1);
  menu->appendCheckItem("Two", 2, true);
  menu->appendCheckItem("Three", 3, false);
  menu->appendSeparator();
  sub->appendCheckItem("Ten", 10, true);
  sub->appendItem("Eleven", 11);
  menu->appendSubMenu("Sub", sub);
  menu->appendSubMenu("Bar", bar);  // a menu bar cannot be nested
  ASSERT_EQ(5, GetMenuItemCount(handle));
  EXPECT_EQ(MF_POPUP | (2u << 8), GetMenuState(handle, 4, MF_BYPOSITION));

  const bool checked[] = {false, false, true, false};
  for (int id = 1; id <= 3; ++id) EXPECT_EQ(checked[id], menu->isChecked(id)) << id;
  EXPECT_TRUE(menu->isChecked(10));  // found in the submenu
  EXPECT_FALSE(menu->isChecked(99));
  menu->check(3, true);
  menu->check(10, false);
  EXPECT_TRUE(menu->isChecked(3) && !sub->isChecked(10));

  // A checked item that is also disabled does not read as checked.
  menu->disable(3);
  EXPECT_EQ(MF_CHECKED | MF_GRAYED, GetMenuState(handle, 3, MF_BYCOMMAND));
  EXPECT_FALSE(menu->isChecked(3));
  menu->enable(3);
  EXPECT_TRUE(menu->isChecked(3));

  menu->removeItem(1);
  menu->removeItem(11);
  EXPECT_EQ(0xFFFFFFFFu, GetMenuState(handle, 1, MF_BYCOMMAND));
  EXPECT_EQ(4, GetMenuItemCount(handle));
  EXPECT_EQ(1, GetMenuItemCount(sub->getHandle()));
  EXPECT_EQ(1, sub->addRef()->release());
  for (Menu* m : {menu, sub, bar}) EXPECT_EQ(0, m->release());
}

TEST_F(MenuTest, PopupChoiceIsPostedToTheOwner) {
  Menu* menu = (new Menu(false))->addRef();
  Menu* bar = (new Menu(true))->addRef();
  menu->appendItem("First", 41);
  menu->appendItem("Second", 42);
  bar->appendItem("Bar", 43);

  vorntest::answerNextPopupMenu(42);
  menu->popup(&window, 10, 10);
  EXPECT_TRUE(window.commands.empty());  // posted, not sent
  EXPECT_TRUE(commandArrives() && window.commands == std::vector<int>{42});
  window.commands.clear();

  vorntest::answerNextPopupMenu(0);  // dismissed
  menu->popup(&window, 10, 10);
  // A menu bar never pops up: the queued answer waits for the next real pop-up.
  vorntest::answerNextPopupMenu(41);
  bar->popup(&window, 10, 10);
  vorntest::pumpFor(50);
  EXPECT_TRUE(window.commands.empty());
  menu->popup(&window, 10, 10);
  EXPECT_TRUE(commandArrives() && window.commands == std::vector<int>{41});
  menu->release();
  bar->release();
}

TEST_F(MenuTest, MenuBarTakesItsRoomFromTheOwner) {
  HWND hwnd = window.getHwnd();
  const int bare = clientHeight(hwnd);
  Menu* popup = (new Menu(false))->addRef();
  popup->setOwner(&window);  // never attached
  EXPECT_EQ(nullptr, GetMenu(hwnd));

  Menu* bar = (new Menu(true))->addRef();
  bar->appendItem("Start", 7);
  bar->setOwner(&window);
  EXPECT_EQ(bar->getHandle(), GetMenu(hwnd));
  const int withBar = clientHeight(hwnd);
  EXPECT_LT(withBar, bare);
  EXPECT_EQ(withBar, window.clientHeight);
  bar->appendItem("Stop", 8);  // added after attaching, still there to pick
  EXPECT_TRUE(vorntest::pickMenuItem(hwnd, 8));
  EXPECT_TRUE(commandArrives() && window.commands == std::vector<int>{8});

  bar->hide();
  bar->hide();
  EXPECT_EQ(nullptr, GetMenu(hwnd));
  EXPECT_EQ(bare, window.clientHeight);
  bar->show();
  EXPECT_EQ(bar->getHandle(), GetMenu(hwnd));
  EXPECT_EQ(withBar, window.clientHeight);  // the toolkit's size follows the layer's
  popup->release();
  bar->release();
}

}  // namespace
