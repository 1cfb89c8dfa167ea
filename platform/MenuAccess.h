// Internal to platform/: test hooks of the menus (the testing header exposes them).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32_menu.h"

// Exported so that the layer's own tests can reach these internals.
#pragma GCC visibility push(default)
namespace vornplatform {

// While set, TrackPopupMenu shows nothing and asks the chooser which command to pick at the
// screen point (0 = dismissed). A pick that is not an enabled command item of the menu counts
// as dismissed. An empty function brings the real pop-up back.
// A chooser picks the item whose id is 0 by answering kPopupPickZero.
using PopupChooser = std::function<UINT(HMENU menu, int x, int y)>;
const UINT kPopupPickZero = 0xFFFFFFFFu;
void setPopupChooser(PopupChooser chooser);

// Acts as if the user picked the command in the window's menu bar: posts WM_COMMAND(id, 0) to
// the window. False when the window has no bar or the id is not an enabled command item of it.
bool triggerMenuBarCommand(HWND hwnd, UINT id);

// One item of a pop-up menu as its window shows it.
struct MenuItemView {
  UINT flags = 0;
  UINT id = 0;
  std::string text;
  HMENU sub = nullptr;
  ULONG_PTR data = 0;  // an owner-drawn item's value
};
// The menu's items in order; false for a dead menu.
bool menuItemsOf(HMENU menu, std::vector<MenuItemView>* out);
// An enabled command item with this id in the menu or its submenus (0 included).
bool isEnabledMenuCommand(HMENU menu, UINT id);

}  // namespace vornplatform
#pragma GCC visibility pop
