// Internal to platform/: a control whose window was drawn on through a device context (a
// subclassed "Static" used as a canvas) shows its backing image instead of its own widget.
#pragma once

#include "platform/win32_window.h"

namespace vornplatform {

// From now on the control's widget shows the window's backing image; once per window.
void showDrawnImage(HWND hwnd);

}  // namespace vornplatform
