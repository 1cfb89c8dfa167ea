// DrawTextExA (DrawTextA with a tab length and margins) and ExtTextOutA (text placed at a point,
// with an opaque or clipping rectangle and optional character advances).
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

#include "platform/DeviceContext.h"
#include "platform/TextCodec.h"
#include "platform/TextDrawing.h"
#include "platform/win32.h"

using namespace vornplatform;

namespace {

// The bytes one character takes: a whole UTF-8 sequence, else one byte (shown as Windows-1252).
size_t characterBytes(const unsigned char* bytes, size_t left) {
  unsigned char lead = bytes[0];
  size_t size = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
  if (lead >= 0xF5 || size > left) return 1;
  for (size_t i = 1; i < size; ++i)
    if ((bytes[i] & 0xC0) != 0x80) return 1;
  return size;
}

// One character at a time, each advanced by the sum of its bytes' entries in dx.
int drawSpaced(QPainter& painter, int x, int top, int height, const char* text, UINT count,
               const INT* dx) {
  auto* bytes = reinterpret_cast<const unsigned char*>(text);
  size_t at = 0;
  while (at < count) {
    size_t size = characterBytes(bytes + at, count - at);
    int advance = 0;
    for (size_t i = 0; i < size; ++i) advance += dx[at + i];
    QString shown = bytesToQString(text + at, size);
    painter.drawText(QRect(x, top, std::max(advance, 1) + height, height),
                     Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop | Qt::TextSingleLine, shown);
    x += advance;
    at += size;
  }
  return x;
}

}  // namespace

int DrawTextExA(HDC dc, LPSTR text, int length, LPRECT rect, UINT format,
                LPDRAWTEXTPARAMS params) {
  if (params == nullptr) return drawTextTabbed(dc, text, length, rect, format, 8);
  if (params->cbSize != sizeof(DRAWTEXTPARAMS) || rect == nullptr || text == nullptr) return 0;
  int tabColumns = params->iTabLength > 0 ? params->iTabLength : 8;
  int leftMargin = std::max(params->iLeftMargin, 0);
  int rightMargin = std::max(params->iRightMargin, 0);
  RECT inner{rect->left + leftMargin, rect->top, rect->right - rightMargin, rect->bottom};
  int height = drawTextTabbed(dc, text, length, &inner, format, tabColumns);
  if (height == 0 && contextOf(dc) == nullptr) return 0;
  if (format & DT_CALCRECT) {
    rect->right = inner.right + rightMargin;
    rect->bottom = inner.bottom;
  }
  params->uiLengthDrawn = static_cast<UINT>(length < 0 ? std::strlen(text) : length);
  return height;
}

BOOL ExtTextOutA(HDC handle, int x, int y, UINT options, const RECT* rect, LPCSTR text,
                 UINT count, const INT* dx) {
  DeviceContext* dc = contextOf(handle);
  if (dc == nullptr || (text == nullptr && count > 0)) return FALSE;
  QImage* target = targetOf(dc);
  QPainter painter;
  beginDrawing(dc, &painter, target);
  if (!painter.isActive()) return FALSE;
  QFont font = fontOf(dc);
  QFontMetrics metrics(font);
  int height = lineHeight(font);
  QString shown = bytesToQString(text, count);
  QRect area = rect ? QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1))
                    : QRect();
  if (rect && (options & ETO_OPAQUE)) painter.fillRect(area, colorOf(dc->bkColor));
  if (rect && (options & ETO_CLIPPED))
    painter.setClipRect(area, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  int width = metrics.horizontalAdvance(shown);
  if (dx) {
    width = 0;
    for (UINT i = 0; i < count; ++i) width += dx[i];
  }
  if (dc->bkMode == OPAQUE) painter.fillRect(QRect(x, y, width, height), colorOf(dc->bkColor));
  if (options & ETO_RTLREADING) painter.setLayoutDirection(Qt::RightToLeft);
  painter.setFont(font);
  painter.setPen(colorOf(dc->textColor));
  if (dx) {
    drawSpaced(painter, x, y, height, text, count, dx);
  } else {
    // A box as wide as the text, so that right-to-left reading keeps it at x.
    painter.drawText(QRect(x, y, width + 1, height),
                     Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop | Qt::TextSingleLine, shown);
  }
  painter.end();
  finishDrawing(dc);
  return TRUE;
}
