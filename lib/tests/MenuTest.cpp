// Menus: item states read back from the platform menu, pop-up choices reaching the owner's
// onCommand, and a menu bar that takes its room from the owner's client area.
#include "lib/Menu.h"

#include <gtest/gtest.h>

#include <vector>

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
  return rect.bottom - rect.top;
}

using MenuTest = ToolkitTest;

TEST_F(MenuTest, ItemStatesAndExactCheckedReading) {
  Menu* menu = (new Menu(false))->addRef();
  Menu* sub = (new Menu(false))->addRef();
  HMENU handle = menu->getHandle();
  menu->appendItem("&One", 1);
  menu->appendCheckItem("Two", 2, true);
  menu->appendCheckItem("Three", 3, false);
  menu->appendSeparator();
  sub->appendCheckItem("Ten", 10, true);
  sub->appendItem("Eleven", 11);
  menu->appendSubMenu("Sub", sub);
  ASSERT_EQ(5, GetMenuItemCount(handle));
  EXPECT_EQ(MF_POPUP | (2u << 8), GetMenuState(handle, 4, MF_BYPOSITION));

  struct {
    int id;
    bool checked;
  } initial[] = {{1, false}, {2, true}, {3, false}, {10, true}, {11, false}, {99, false}};
  for (const auto& c : initial) {
    EXPECT_EQ(c.checked, menu->isChecked(c.id)) << c.id;
  }

  menu->check(3, true);
  menu->check(2, false);
  menu->check(10, false);
  EXPECT_TRUE(menu->isChecked(3));
  EXPECT_FALSE(menu->isChecked(2));
  EXPECT_FALSE(sub->isChecked(10));

  // A checked item that is also disabled does not read as checked.
  menu->disable(3);
  EXPECT_EQ(MF_CHECKED | MF_GRAYED, GetMenuState(handle, 3, MF_BYCOMMAND));
  EXPECT_FALSE(menu->isChecked(3));
  menu->enable(3);
  EXPECT_TRUE(menu->isChecked(3));

  menu->removeItem(1);
  menu->removeItem(11);
  EXPECT_EQ(0xFFFFFFFFu, GetMenuState(handle, 1, MF_BYCOMMAND));
  EXPECT_EQ(0xFFFFFFFFu, GetMenuState(handle, 11, MF_BYCOMMAND));
  EXPECT_EQ(4, GetMenuItemCount(handle));
  EXPECT_EQ(1, GetMenuItemCount(sub->getHandle()));

  // A menu bar cannot be nested.
  Menu* bar = (new Menu(true))->addRef();
  bar->appendItem("Bar item", 20);
  menu->appendSubMenu("Bar", bar);
  EXPECT_EQ(4, GetMenuItemCount(handle));
  EXPECT_EQ(0xFFFFFFFFu, GetMenuState(handle, 20, MF_BYCOMMAND));

  EXPECT_EQ(1, sub->addRef()->release());
  EXPECT_EQ(0, bar->release());
  EXPECT_EQ(0, sub->release());
  EXPECT_EQ(0, menu->release());
}

TEST_F(MenuTest, PopupChoiceIsPostedToTheOwner) {
  CommandWindow window;
  window.createIn(root);
  window.show();
  Menu* menu = (new Menu(false))->addRef();
  menu->appendItem("First", 41);
  menu->appendItem("Second", 42);
  Menu* bar = (new Menu(true))->addRef();
  bar->appendItem("Bar", 43);

  vorntest::answerNextPopupMenu(42);
  menu->popup(&window, 10, 10);
  // Posted, not sent: nothing arrives before the queue is pumped.
  EXPECT_TRUE(window.commands.empty());
  EXPECT_TRUE(vorntest::pumpUntil([&] { return !window.commands.empty(); }, 2000));
  EXPECT_EQ(std::vector<int>{42}, window.commands);

  // A dismissed menu sends nothing.
  window.commands.clear();
  vorntest::answerNextPopupMenu(0);
  menu->popup(&window, 10, 10);
  vorntest::pumpFor(50);
  EXPECT_TRUE(window.commands.empty());

  // A menu bar never pops up: the queued answer waits for the next real pop-up.
  vorntest::answerNextPopupMenu(41);
  bar->popup(&window, 10, 10);
  vorntest::pumpFor(50);
  EXPECT_TRUE(window.commands.empty());
  menu->popup(&window, 10, 10);
  EXPECT_TRUE(vorntest::pumpUntil([&] { return !window.commands.empty(); }, 2000));
  EXPECT_EQ(std::vector<int>{41}, window.commands);

  menu->release();
  bar->release();
}

TEST_F(MenuTest, MenuBarTakesItsRoomFromTheOwner) {
  CommandWindow window;
  window.createIn(root);
  window.show();
  HWND hwnd = window.getHwnd();
  const int bare = clientHeight(hwnd);

  // A pop-up menu is never attached.
  Menu* popup = (new Menu(false))->addRef();
  popup->setOwner(&window);
  EXPECT_EQ(nullptr, GetMenu(hwnd));

  Menu* bar = (new Menu(true))->addRef();
  bar->appendItem("Start", 7);
  bar->setOwner(&window);
  EXPECT_EQ(bar->getHandle(), GetMenu(hwnd));
  const int withBar = clientHeight(hwnd);
  EXPECT_LT(withBar, bare);
  EXPECT_EQ(withBar, window.clientHeight);

  // Items added after attaching are there to pick.
  bar->appendItem("Stop", 8);
  EXPECT_TRUE(vorntest::pickMenuItem(hwnd, 8));
  EXPECT_TRUE(vorntest::pumpUntil([&] { return !window.commands.empty(); }, 2000));
  EXPECT_EQ(std::vector<int>{8}, window.commands);

  bar->hide();
  EXPECT_EQ(nullptr, GetMenu(hwnd));
  EXPECT_EQ(bare, clientHeight(hwnd));
  EXPECT_EQ(bare, window.clientHeight);
  bar->hide();
  bar->show();
  EXPECT_EQ(bar->getHandle(), GetMenu(hwnd));
  EXPECT_EQ(withBar, clientHeight(hwnd));
  bar->show();
  EXPECT_EQ(withBar, clientHeight(hwnd));

  popup->release();
  bar->release();
}

}  // namespace
