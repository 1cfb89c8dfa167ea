// Test hook for pop-up menus: the menu painted off screen as its owner would see it shown,
// owner-drawn items included, as a new bitmap (the caller deletes it).
#pragma once

#include "platform/win32_base.h"

namespace vorntest {

VORNAPI HBITMAP renderPopupMenu(HMENU menu, HWND owner);

}  // namespace vorntest

namespace vorntest {

// The index of the menu-bar item whose pull-down menu the window shows now, or -1.
VORNAPI int shownMenuBarPullDown(HWND hwnd);

}  // namespace vorntest
