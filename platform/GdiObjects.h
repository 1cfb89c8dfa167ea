// The layer's table of drawing objects (fonts, pens, brushes, bitmaps) behind GDI handles.
// Internal to platform/: the drawing code reads the records; Qt types are fine here.
#pragma once

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPen>
#include <memory>

#include "platform/win32_gdi.h"

namespace vornplatform {

enum class GdiKind { Font, Pen, Brush, Bitmap };

// One drawing object. Only the members of its kind are meaningful. Stock objects (and the
// system colour brushes) are never deleted.
struct GdiObject {
  GdiKind kind = GdiKind::Brush;
  bool stock = false;
  QFont font;               // Font
  LOGFONTA logFont{};       // Font: what GetObjectA reports
  QPen pen;                 // Pen (Qt::NoPen for PS_NULL)
  QBrush brush;             // Brush (Qt::NoBrush for NULL_BRUSH)
  COLORREF color = 0;       // Pen and Brush: the colour asked for
  int penStyle = 0;         // Pen: PS_*
  int penWidth = 0;         // Pen
  QImage* image = nullptr;  // Bitmap: owned by the record

  GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { delete image; }
};
using GdiObjectPtr = std::shared_ptr<GdiObject>;

// The record behind a handle, or null for a handle that is not a live drawing object. Holding
// the pointer keeps the record (and a bitmap's image) alive after DeleteObject.
GdiObjectPtr findGdiObject(HGDIOBJ handle);

// The brush a brush handle stands for. Besides brush handles this accepts the class-background
// convention "system colour index + 1" (e.g. (HBRUSH)(COLOR_MENU + 1)). False for anything else.
bool brushOfHandle(HBRUSH handle, QBrush* out);

// The colour of a system colour index (COLOR_*), as GetSysColor reports it.
COLORREF systemColor(int index);
QColor qColorOf(COLORREF color);

// A new bitmap object holding a copy of image, as an opaque 32-bit picture.
HBITMAP bitmapFromImage(const QImage& image);
// The bitmap's picture (null when it is none), the bitmap deleted.
QImage takeBitmapImage(HBITMAP bitmap);

// Font conversions at 96 DPI whatever the screen's resolution: a negative height is the
// character height in pixels, a positive one the cell height. Windows faces map to installed
// ones through Qt's substitutions (FontFaces.h); Qt gets pixel sizes, never point sizes.
QFont fontFromLogFont(const LOGFONTA& logFont);

// The record of the stock DEFAULT_GUI_FONT: the dialog face at 8 points (11 pixels).
LOGFONTA guiLogFont();

}  // namespace vornplatform
