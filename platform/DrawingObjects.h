// Internal to platform/: what device contexts need of the rest of the layer: plain values of
// pens, brushes and bitmaps from the GDI object table, and a window's pending update.
#pragma once

#include <QImage>

#include "platform/win32_gdi.h"

namespace vornplatform {

enum class ObjectKind { None, Font, Pen, Brush, Bitmap };

struct PenValues {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct BrushValues {
  bool hollow = false;
  COLORREF color = 0;
};

ObjectKind kindOfObject(HGDIOBJ object);
bool penValuesOf(HGDIOBJ pen, PenValues* out);
// Also accepts a system colour index plus one, as FillRect does.
bool brushValuesOf(HGDIOBJ brush, BrushValues* out);
// The pixels of a bitmap handle; null for anything else.
QImage* bitmapImageOf(HGDIOBJ bitmap);
// A bitmap handle over a new image.
HBITMAP createBitmapObject(const QImage& image);

// The bounds of the window's invalid region (empty when none) and whether erasing was asked
// for; the window is valid afterwards. BeginPaint's rcPaint.
void takeUpdateRect(HWND hwnd, RECT* bounds, bool* erase);

}  // namespace vornplatform
