// The window manager's frames around top-level windows on X11: asking it how wide a frame
// will be before the window is shown, hearing when it tells (Qt passes that on to nobody), and
// reading whether it holds a window maximised.
#pragma once

#include "platform/win32_window.h"

class QWidget;

namespace vornplatform {

// Asks the window manager for the extents (left, top, right, bottom) of the frame it will draw
// around the Qt window, which gets its native window for that, and waits briefly for the
// answer. False on platforms other than X11, without a window manager that answers, or when
// the answer is late; a later answer makes the window core look at the frame again.
bool askFrameExtents(QWidget* frame, RECT* extents);

// Whether the window manager holds the Qt window maximised both ways now (its _NET_WM_STATE),
// read afresh: it may have placed the window before Qt hears of the state. False off X11.
bool readMaximizedState(QWidget* frame, bool* maximized);

}  // namespace vornplatform
