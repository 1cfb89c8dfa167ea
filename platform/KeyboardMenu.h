// Internal to platform/: the keyboard's way into a window's menu bar (Alt with a letter, Alt
// pressed and released alone, F10), as the default window procedure gives it.
#pragma once

#include "platform/win32_window.h"

namespace vornplatform {

// Default processing of WM_SYSKEYDOWN, WM_SYSKEYUP and WM_SYSCHAR: true when the key asked the
// window's top-level window for its menu (WM_SYSCOMMAND SC_KEYMENU was sent), so nothing else
// acts on it.
bool keyAsksForMenu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Default processing of WM_SYSCOMMAND SC_KEYMENU: opens the bar item the character names (0:
// the first item), or beeps when the window has no bar or no such item.
void openMenuBarByKey(HWND hwnd, LPARAM character);

// Every key pressed (0 for a mouse button), so that an Alt released with nothing else in between
// is told apart. The pointer's place is kept too: Alt held while the window manager moves a
// window (it takes those clicks itself) must not open the menu on release.
void noteKeyPressed(int virtualKey);

// The bar item whose pull-down menu shows, or -1.
int shownMenuBarPullDown(HWND hwnd);

}  // namespace vornplatform
