// Pixels, lines, shapes and copies on a device context, with Win32's pixel rules: a line
// leaves out its end point, a rectangle its right column and bottom row.
#include <QPainter>

#include <cstdlib>

#include "platform/DeviceContext.h"
#include "platform/LineClip.h"
#include "platform/win32.h"

#define BLACKNESS_ROP 0x00000042
#define WHITENESS_ROP 0x00FF0062

namespace vornplatform {
namespace {

QRect rectOf(int left, int top, int right, int bottom) {
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

struct PenValues {
  int style = PS_NULL;
  int width = 1;
  COLORREF color = 0;
};

// The selected pen; a pen deleted while selected draws nothing.
PenValues currentPen(const DeviceContext* dc) {
  PenValues pen;
  GdiObjectPtr record = findGdiObject(dc->pen);
  if (record && record->kind == GdiKind::Pen) {
    pen.style = record->penStyle;
    pen.width = record->penWidth < 1 ? 1 : record->penWidth;
    pen.color = record->color;
  }
  return pen;
}

// The colour a brush handle (or a system colour index plus one) fills with; false for no
// brush and for a hollow one.
bool brushColor(HGDIOBJ handle, QColor* color) {
  QBrush brush;
  if (!brushOfHandle(static_cast<HBRUSH>(handle), &brush) || brush.style() == Qt::NoBrush)
    return false;
  *color = brush.color();
  return true;
}

Qt::PenStyle qtPenStyle(int style) {
  switch (style) {
    case PS_DASH:
      return Qt::DashLine;
    case PS_DOT:
      return Qt::DotLine;
    case PS_DASHDOT:
      return Qt::DashDotLine;
    case PS_DASHDOTDOT:
      return Qt::DashDotDotLine;
    default:
      return Qt::SolidLine;
  }
}

QPen qtPen(const PenValues& pen, Qt::PenCapStyle cap) {
  return QPen(colorOf(pen.color), pen.width, qtPenStyle(pen.style), cap, Qt::MiterJoin);
}

// Whether pixels of the image can be written as 32-bit words directly.
bool plainPixels(const QImage* image) {
  QImage::Format format = image->format();
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied;
}

// A one-pixel line from a to b without b, stepping as Bresenham does. The colour is opaque,
// so it is the same word in each of the plain formats.
void thinLine(QImage* image, const QRect& clip, QPoint a, QPoint b, QRgb color) {
  if (clip.isEmpty() || !cutFarLine(clip, &a, &b)) return;
  bool plain = plainPixels(image);
  uchar* bits = plain ? image->bits() : nullptr;  // one detach for the whole line
  qsizetype stride = image->bytesPerLine();
  int dx = std::abs(b.x() - a.x()), dy = -std::abs(b.y() - a.y());
  int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
  int error = dx + dy;
  QPoint p = a;
  int left = clip.left(), top = clip.top(), right = clip.right(), bottom = clip.bottom();
  while (p != b) {
    if (p.x() >= left && p.x() <= right && p.y() >= top && p.y() <= bottom) {
      if (plain)
        reinterpret_cast<QRgb*>(bits + p.y() * stride)[p.x()] = color;
      else
        image->setPixel(p, color);
    }
    int doubled = 2 * error;
    if (doubled >= dy) {
      error += dy;
      p.rx() += sx;
    }
    if (doubled <= dx) {
      error += dx;
      p.ry() += sy;
    }
  }
}

QRect clipOf(const DeviceContext* dc, const QImage* image) {
  QRect clip = drawableArea(dc, image);
  if (dc->painting) {
    const RECT& r = dc->paintRect;
    clip &= rectOf(r.left, r.top, r.right, r.bottom);
  }
  return clip;
}

// Fills with a brush handle (or a system colour index plus one); false for no brush.
bool fillWith(DeviceContext* dc, const QRect& area, HGDIOBJ brush) {
  QBrush values;
  if (!brushOfHandle(static_cast<HBRUSH>(brush), &values)) return false;
  if (values.style() == Qt::NoBrush) return true;
  QImage* target = targetOf(dc);
  QPainter painter;
  beginDrawing(dc, &painter, target);
  if (!painter.isActive()) return false;
  painter.fillRect(area, values.color());
  painter.end();
  finishDrawing(dc);
  return true;
}

// Fill then outline: the outline of a one-pixel pen covers the first and last row and column.
BOOL drawShape(HDC handle, int left, int top, int right, int bottom, bool ellipse) {
  DeviceContext* dc = contextOf(handle);
  if (dc == nullptr) return FALSE;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  QImage* target = targetOf(dc);
  QPainter painter;
  beginDrawing(dc, &painter, target);
  if (!painter.isActive()) return FALSE;
  PenValues pen = currentPen(dc);
  QColor fill;
  bool filled = brushColor(dc->brush, &fill);
  // Without a pen the shape is one pixel smaller in each direction.
  int shrink = pen.style == PS_NULL ? 1 : 0;
  QRect outline = rectOf(left, top, right - shrink, bottom - shrink);
  painter.setPen(pen.style == PS_NULL ? QPen(Qt::NoPen) : qtPen(pen, Qt::SquareCap));
  painter.setBrush(filled ? QBrush(fill) : QBrush(Qt::NoBrush));
  if (!ellipse && filled) painter.fillRect(outline, fill);
  QRect stroke = outline.adjusted(0, 0, -1, -1);  // QPainter strokes one pixel beyond
  if (ellipse) {
    painter.drawEllipse(pen.style == PS_NULL ? outline : stroke);
  } else if (pen.style != PS_NULL) {
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(stroke);
  }
  painter.end();
  finishDrawing(dc);
  return TRUE;
}

}  // namespace
}  // namespace vornplatform

using namespace vornplatform;

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
  DeviceContext* dc = contextOf(handle);
  QImage* target = dc == nullptr ? nullptr : targetOf(dc);
  if (target == nullptr || !clipOf(dc, target).contains(x, y)) return CLR_INVALID;
  target->setPixel(QPoint(x, y) + dc->origin, colorOf(color).rgb());
  finishDrawing(dc);
  return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC handle, int x, int y) {
  DeviceContext* dc = contextOf(handle);
  QImage* target = dc == nullptr ? nullptr : targetOf(dc);
  if (target == nullptr || !drawableArea(dc, target).contains(x, y)) return CLR_INVALID;
  return colorRefOf(target->pixel(QPoint(x, y) + dc->origin));
}

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
  DeviceContext* dc = contextOf(handle);
  if (dc == nullptr) return FALSE;
  if (previous != nullptr) *previous = dc->position;
  dc->position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
  DeviceContext* dc = contextOf(handle);
  if (dc == nullptr) return FALSE;
  QPoint from(dc->position.x, dc->position.y), to(x, y);
  dc->position = POINT{x, y};
  PenValues pen = currentPen(dc);
  QImage* target = targetOf(dc);
  if (target == nullptr) return FALSE;
  if (pen.style == PS_NULL) return TRUE;
  if (pen.width == 1 && pen.style == PS_SOLID) {
    QPoint o = dc->origin;
    thinLine(target, clipOf(dc, target).translated(o), from + o, to + o, colorOf(pen.color).rgb());
  } else {
    // A flat cap ends the stroke at the end point, which stays undrawn.
    QPainter painter;
    beginDrawing(dc, &painter, target);
    if (!painter.isActive()) return FALSE;
    painter.setPen(qtPen(pen, Qt::FlatCap));
    painter.drawLine(from, to);
  }
  finishDrawing(dc);
  return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  return drawShape(dc, left, top, right, bottom, false);
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
  return drawShape(dc, left, top, right, bottom, true);
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = contextOf(handle);
  if (dc == nullptr || rect == nullptr) return 0;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return 1;
  return fillWith(dc, rectOf(rect->left, rect->top, rect->right, rect->bottom), brush) ? 1 : 0;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = contextOf(handle);
  if (dc == nullptr || rect == nullptr) return 0;
  const RECT& r = *rect;
  if (r.right <= r.left || r.bottom <= r.top) return 1;
  bool done = fillWith(dc, rectOf(r.left, r.top, r.right, r.top + 1), brush) &&
              fillWith(dc, rectOf(r.left, r.bottom - 1, r.right, r.bottom), brush) &&
              fillWith(dc, rectOf(r.left, r.top, r.left + 1, r.bottom), brush) &&
              fillWith(dc, rectOf(r.right - 1, r.top, r.right, r.bottom), brush);
  return done ? 1 : 0;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop) {
  DeviceContext* to = contextOf(dest);
  if (to == nullptr) return FALSE;
  QImage* target = targetOf(to);
  QPainter painter;
  beginDrawing(to, &painter, target);
  if (!painter.isActive()) return FALSE;
  QRect area(x, y, width, height);
  if (rop == BLACKNESS_ROP || rop == WHITENESS_ROP) {
    painter.fillRect(area, rop == BLACKNESS_ROP ? Qt::black : Qt::white);
  } else {
    DeviceContext* from = contextOf(source);
    QImage* pixels = from == nullptr ? nullptr : targetOf(from);
    if ((rop != SRCCOPY && rop != SRCAND) || pixels == nullptr) return FALSE;
    // Copy from a snapshot, so a context may copy onto itself.
    QImage part = pixels->copy(sx + from->origin.x(), sy + from->origin.y(), width, height);
    painter.setCompositionMode(rop == SRCAND ? QPainter::RasterOp_SourceAndDestination
                                             : QPainter::CompositionMode_Source);
    painter.drawImage(area.topLeft(), part);
  }
  painter.end();
  finishDrawing(to);
  return TRUE;
}
