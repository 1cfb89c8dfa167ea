// Rounded rectangles and polylines over the device contexts of the layer.
#include <QPainterPath>

#include "platform/DeviceContext.h"
#include "platform/win32.h"

using namespace vornplatform;

namespace {

bool penOf(const DeviceContext* dc, QColor* color) {
  GdiObjectPtr record = findGdiObject(dc->pen);
  if (!record || record->kind != GdiKind::Pen || record->penStyle == PS_NULL) return false;
  *color = colorOf(record->color);
  return true;
}

}  // namespace

// Filled inside the outline, then outlined one pixel wide, both without antialiasing, so the
// corners are the same pixels every time.
BOOL RoundRect(HDC handle, int left, int top, int right, int bottom, int cx, int cy) {
  DeviceContext* dc = contextOf(handle);
  if (dc == nullptr) return FALSE;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right - left < 2 || bottom - top < 2) return TRUE;
  QImage* target = targetOf(dc);
  QPainter painter;
  beginDrawing(dc, &painter, target);
  if (!painter.isActive()) return FALSE;
  QColor line, fill;
  bool outlined = penOf(dc, &line);
  QBrush brush;
  bool filled = brushOfHandle(static_cast<HBRUSH>(dc->brush), &brush) && brush.style() != Qt::NoBrush;
  QRectF shape(left, top, right - left - 1, bottom - top - 1);
  painter.setBrush(filled ? QBrush(brush.color()) : QBrush(Qt::NoBrush));
  painter.setPen(outlined ? QPen(line, 1) : QPen(Qt::NoPen));
  painter.drawRoundedRect(shape, cx / 2.0, cy / 2.0);
  painter.end();
  finishDrawing(dc);
  return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
  if (points == nullptr || count < 2) return FALSE;
  POINT saved;
  if (!MoveToEx(dc, points[0].x, points[0].y, &saved)) return FALSE;
  for (int i = 1; i < count; ++i) LineTo(dc, points[i].x, points[i].y);
  MoveToEx(dc, saved.x, saved.y, nullptr);
  return TRUE;
}
