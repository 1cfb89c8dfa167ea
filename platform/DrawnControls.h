// Internal to platform/: a control whose window was drawn on through a device context (a
// subclassed "Static" used as a canvas) shows its backing image instead of its own widget.
#pragma once

#include "platform/win32_window.h"

namespace vornplatform {

// Something was drawn into the window's backing image through a context: the widget shows it
// again (at once unless painting is true: EndPaint does it then), and from now on a control's
// widget shows the backing image instead of its own looks.
void noteDrawn(HWND hwnd, bool painting);

}  // namespace vornplatform
