// Menus: item states by command (searching submenus) and by position, submenu states, strings,
// pop-up choices through the test chooser, and menu-bar commands posted to the window.
#include <gtest/gtest.h>

#include "platform/MenuAccess.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

class Menus : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    bar = CreateMenu();
    file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 10, "&Open");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING | MF_CHECKED | MF_GRAYED, 11, "Log");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_STRING, 20, "Help");
  }
  void TearDown() override {
    vornplatform::setPopupChooser(nullptr);
    DestroyMenu(bar);
    reset();
  }
  HMENU bar = nullptr;
  HMENU file = nullptr;
};

TEST_F(Menus, StatesByCommandAndPosition) {
  struct Case {
    HMENU menu;
    UINT item;
    UINT flags;
    UINT expected;
  };
  const Case cases[] = {
      {bar, 10, MF_BYCOMMAND, MF_ENABLED},  // found in the submenu
      {bar, 11, MF_BYCOMMAND, MF_CHECKED | MF_GRAYED},
      {bar, 0, MF_BYPOSITION, MF_POPUP | (3u << 8)},  // submenu: count in the high byte
      {file, 1, MF_BYPOSITION, MF_SEPARATOR},
      {bar, 99, MF_BYCOMMAND, static_cast<UINT>(-1)},
      {bar, 5, MF_BYPOSITION, static_cast<UINT>(-1)},
      {reinterpret_cast<HMENU>(0x7ffffff0), 10, MF_BYCOMMAND, static_cast<UINT>(-1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(GetMenuState(c.menu, c.item, c.flags), c.expected);
  }
  EXPECT_EQ(CheckMenuItem(bar, 10, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(EnableMenuItem(bar, 11, MF_BYCOMMAND | MF_ENABLED), static_cast<DWORD>(MF_GRAYED));
  for (UINT id : {10, 11})
    EXPECT_EQ(GetMenuState(bar, id, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(EnableMenuItem(bar, 99, MF_GRAYED), static_cast<DWORD>(-1));
}

TEST_F(Menus, StructureQueriesAndEdits) {
  EXPECT_TRUE(GetSubMenu(bar, 0) == file && GetSubMenu(bar, 1) == nullptr);
  EXPECT_EQ(GetMenuItemID(bar, 0), static_cast<UINT>(-1));
  char text[8];
  EXPECT_EQ(GetMenuStringA(bar, 10, text, 4, MF_BYCOMMAND), 3);
  EXPECT_STREQ(text, "&Op");
  EXPECT_TRUE(InsertMenuA(file, 0, MF_BYPOSITION | MF_STRING, 9, "New"));
  EXPECT_EQ(GetMenuItemID(file, 0), 9u);
  EXPECT_TRUE(ModifyMenuA(bar, 9, MF_BYCOMMAND | MF_STRING, 8, "Fresh"));
  EXPECT_EQ(GetMenuStringA(file, 0, text, sizeof text, MF_BYPOSITION), 5);
  EXPECT_TRUE(RemoveMenu(bar, 8, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuItemCount(file), 3);
  EXPECT_FALSE(AppendMenuA(bar, MF_POPUP, 0x7ffffff0, "bad submenu"));
  HMENU extra = CreatePopupMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(extra), "Extra");
  EXPECT_TRUE(DeleteMenu(bar, 2, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(extra));  // deleting destroys the submenu
  HMENU kept = CreatePopupMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(kept), "Kept");
  EXPECT_TRUE(RemoveMenu(bar, 2, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(kept));  // removing does not
  DestroyMenu(kept);
}

TEST_F(Menus, PopupChoicesPostCommandsOrReturnThem) {
  HWND owner = makeTop();
  UINT answerWith = 10;
  int seenX = 0;
  vornplatform::setPopupChooser([&](HMENU, int x, int) {
    seenX = x;
    return answerWith;
  });
  EXPECT_TRUE(TrackPopupMenu(file, TPM_RIGHTBUTTON | TPM_NONOTIFY, 40, 50, 0, owner, nullptr));
  EXPECT_EQ(seenX, 40);
  seen().clear();
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE));  // posted, not sent
  EXPECT_EQ(m.wParam, MAKEWPARAM(10, 0));
  EXPECT_EQ(m.lParam, 0);
  EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 10);
  answerWith = 11;  // grayed: counts as dismissed
  EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0);
  EXPECT_TRUE(TrackPopupMenu(file, 0, 0, 0, 0, owner, nullptr));
  EXPECT_FALSE(PeekMessageA(&m, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  DestroyWindow(owner);
}

TEST_F(Menus, MenuBarCommandsReachTheWindowWhichDestroysItsMenu) {
  HWND top = makeTop();
  EXPECT_FALSE(vornplatform::triggerMenuBarCommand(top, 10));  // no bar yet
  SetMenu(top, bar);
  EXPECT_TRUE(vornplatform::triggerMenuBarCommand(top, 10));
  EXPECT_FALSE(vornplatform::triggerMenuBarCommand(top, 11));  // grayed
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, top, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(m.wParam, MAKEWPARAM(10, 0));
  DestroyWindow(top);
  EXPECT_FALSE(IsMenu(bar));
  bar = nullptr;
}

}  // namespace
