// Top-level windows of other processes on the X desktop: ours publish their class and title in
// a window property, so FindWindowA in another process finds them and may ask to activate them.
#pragma once

#include "platform/win32_window.h"

namespace vornplatform {

struct WindowRecord;

// Puts the window's class and title on its X window; nothing off X11 or before it is shown.
void publishWindowIdentity(const WindowRecord& w);

// A window of another process on the desktop with that class (any case) and exact title, as a
// handle of this layer (the same handle for the same X window); null when there is none.
HWND findForeignWindow(LPCSTR className, LPCSTR title);

// The calls a foreign handle answers. Each is false (0) for a handle that is not foreign.
bool isForeignHandle(HWND hwnd);
bool foreignWindowExists(HWND hwnd);
// Asks the window manager to activate (and so restore) the window.
bool activateForeignWindow(HWND hwnd);
int foreignWindowText(HWND hwnd, LPSTR buffer, int size);

// The window the window manager reports active when it is another program's (a film, a game),
// as a foreign handle; null when it is ours, when none is, or off X11. One round trip.
HWND foreignActiveWindow();
// The window's rectangle on the screen (its frame included) and its client size, read from the
// X server; false when the handle is not foreign or the window is gone.
bool foreignWindowRects(HWND hwnd, RECT* window, RECT* client);

}  // namespace vornplatform
