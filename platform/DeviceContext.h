// Internal to platform/: a device context, the drawing state behind an HDC (target image,
// selected objects, colours, pen position), and the table that hands out and finds them.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>

#include "platform/GdiObjects.h"
#include "platform/win32_gdi.h"

namespace vornplatform {

enum class DcKind { Window, Screen, Memory };

struct DeviceContext {
  DcKind kind = DcKind::Screen;
  HWND window = nullptr;  // the window whose backing image a window context draws into
  bool painting = false;  // made by BeginPaint: drawing is clipped to the paint rectangle
  RECT paintRect{0, 0, 0, 0};
  HFONT font = nullptr;
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HBITMAP bitmap = nullptr;   // memory contexts only
  GdiObjectPtr bitmapRecord;  // keeps the selected bitmap's pixels while it is selected
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  POINT position{0, 0};
  // Where the context's (0, 0) lies in its target: a client context of a window with a border
  // of its own starts inside that border, and draws only within the client area.
  QPoint origin{0, 0};
};

// A new context of the kind, with the system font, BLACK_PEN and WHITE_BRUSH selected. A
// window context covers the client area, or the whole window (border included) when asked.
HDC createContext(DcKind kind, HWND window, bool wholeWindow = false);
// The context behind a handle, or null for a released or unknown one. Valid until the
// context is released; drawing happens on one thread at a time.
DeviceContext* contextOf(HDC dc);
bool releaseContext(HDC dc);

// The image the context draws into, or null (dead window, memory context without a bitmap).
QImage* targetOf(DeviceContext* dc);
// What the context may draw on, in its own coordinates: the target less a window's own border.
QRect drawableArea(const DeviceContext* dc, const QImage* target);
// A painter over the context's target with Win32's pixel rules: no antialiasing for shapes,
// the paint rectangle as clip; inactive when there is no target.
void beginDrawing(DeviceContext* dc, QPainter* painter, QImage* target);
// Lets the window show what was drawn outside BeginPaint.
void finishDrawing(DeviceContext* dc);

// The context's font as pixels at 96 DPI, whatever device the text lands on.
QFont fontOf(const DeviceContext* dc);
QColor colorOf(COLORREF color);
COLORREF colorRefOf(QRgb rgb);

// What GetDeviceCaps(BITSPIXEL) answers: 32, or the depth a test set (DisplayDepth.cpp).
int displayBitsPerPixel();

// The kind of a live drawing object; false for anything else.
bool kindOfObject(HGDIOBJ object, GdiKind* kind);

}  // namespace vornplatform
