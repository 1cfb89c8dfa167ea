// What the scroll-bar functions ask of controls with real scroll bars: a rich edit reports
// its own bar instead of the values kept per window. Internal to platform/, Qt-free.
#pragma once

#include "platform/win32_gdi.h"

namespace vornplatform {

// Fills info (as GetScrollInfo) for a control that has its own bar; false for other windows.
bool controlScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);

}  // namespace vornplatform
