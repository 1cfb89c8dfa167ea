// Internal to platform/: what the layer's other areas (drawing, message boxes, test hooks)
// need of the window core. Implemented by the window core; Qt types are fine here.
#pragma once

#include "platform/win32_window.h"

class QWidget;
class QImage;
class QFont;

// Exported so that the layer's own tests can reach these internals.
#pragma GCC visibility push(default)
namespace vornplatform {

// Creates the one QApplication of the process on first use (the "offscreen" platform when no
// display is set), then puts LC_NUMERIC and LC_CTYPE back to "C". Safe to call repeatedly.
void ensureApplication();

// The widget showing the window's client area, or null for a dead handle.
QWidget* clientWidgetOf(HWND hwnd);
// The outermost widget of the window's top-level window (the window itself when top-level).
QWidget* topLevelWidgetOf(HWND hwnd);
// The window a widget belongs to (walking up to the nearest widget that backs a window).
HWND windowOfWidget(const QWidget* widget);

// The width of the frame the layer draws itself around the window's client area (0 for most).
int ownBorderOf(HWND hwnd);

// The image that device contexts of the window draw into, sized to the client area; created
// on first use. Null for a dead handle. backingChanged asks the widget to show it again.
QImage* backingImageOf(HWND hwnd);
void backingChanged(HWND hwnd);

// The font a font handle stands for; false for a handle that is not a font.
bool fontOfHandle(HFONT font, QFont* out);

// For BeginPaint: the window's update region (bounding rectangle, client coordinates) and
// whether the background should be erased; the window is validated. False for a dead handle
// (the rectangle is then empty).
bool takeUpdateRegion(HWND hwnd, RECT* region, BOOL* erase);

// Input handed to window procedures from Qt's event path, not through GetMessageA, records
// where (screen coordinates) and when it happened, so GetMessagePos and GetMessageTime
// describe it while it is handled.
void setMessagePos(POINT screenPoint);
void setMessageTime(DWORD time);

// Test hooks (the testing header exposes them).
// Pumps Qt events for about the given time, on the GUI thread; never blocks longer.
void processEventsFor(int milliseconds);
// GetKeyState reports state for the key until cleared (state < 0 clears one key).
void setKeyStateOverride(int virtualKey, int state);
void clearKeyStateOverrides();
// SystemParametersInfoA(SPI_GETWORKAREA) reports this rectangle; null goes back to the screen.
void setWorkAreaOverride(const RECT* area);
// Framed top-level windows report these frame extents (left, top, right, bottom) as a window
// manager would; null goes back to what the platform reports.
void setFrameExtentsOverride(const RECT* extents);

}  // namespace vornplatform
#pragma GCC visibility pop
