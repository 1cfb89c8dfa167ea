// Text on a device context: metrics of the selected font, extents, TextOutA and DrawTextA,
// with 8-bit text shown as the layer shows all text.
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QtMath>
#include <QPainter>
#include <QTextLayout>

#include <climits>
#include <cstddef>

#include "platform/DeviceContext.h"
#include "platform/TextCodec.h"
#include "platform/TextDrawing.h"
#include "platform/win32.h"

#define TMPF_VARIABLE_PITCH 0x01  // set for variable pitch, despite its usual name
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04

namespace vornplatform {
namespace {

// Tab stops every tabColumns characters.
QString expandTabs(const QString& text, int tabColumns) {
  QString result;
  int column = 0;
  for (QChar c : text) {
    if (c == QLatin1Char('\t')) {
      int spaces = tabColumns - column % tabColumns;
      result.append(QString(spaces, QLatin1Char(' ')));
      column += spaces;
    } else {
      result.append(c);
      column = (c == QLatin1Char('\n')) ? 0 : column + 1;
    }
  }
  return result;
}

int qtFlagsOf(UINT format) {
  int flags = 0;
  if (format & DT_CENTER)
    flags |= Qt::AlignHCenter;
  else if (format & DT_RIGHT)
    flags |= Qt::AlignRight;
  else
    flags |= Qt::AlignLeft;
  // Vertical placement applies to single lines only.
  if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
    flags |= Qt::AlignVCenter;
  else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
    flags |= Qt::AlignBottom;
  else
    flags |= Qt::AlignTop;
  if (format & DT_SINGLELINE) flags |= Qt::TextSingleLine;
  if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) flags |= Qt::TextWordWrap;
  if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
  // Right-to-left reading orders the text; it never mirrors the alignment.
  if (format & DT_RTLREADING) flags |= Qt::AlignAbsolute;
  return flags;
}

// Line breaks as CR LF, LF or a lone CR all end a line.
QString normalizedBreaks(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// The text DrawTextA shows, with an ellipsis in lines too wide for the rectangle.
QString shownText(const QString& text, UINT format, int flags, const QFontMetrics& metrics,
                  int width, int tabColumns) {
  QString shown = normalizedBreaks(text);
  if (format & DT_EXPANDTABS) shown = expandTabs(shown, tabColumns);
  if (!(format & DT_END_ELLIPSIS)) return shown;
  QStringList lines =
      (format & DT_SINGLELINE) ? QStringList{shown} : shown.split(QLatin1Char('\n'));
  for (QString& line : lines)
    line = metrics.elidedText(line, Qt::ElideRight, width, flags & Qt::TextShowMnemonic);
  return lines.join(QLatin1Char('\n'));
}

// Where a single line placed lower than the top lands in the rectangle.
QRect placedBounds(QRect bounds, const QRect& area, UINT format) {
  if (!(format & DT_SINGLELINE)) return bounds;
  if (format & DT_VCENTER)
    bounds.moveTop(area.top() + (area.height() - bounds.height()) / 2);
  else if (format & DT_BOTTOM)
    bounds.moveBottom(area.bottom());
  return bounds;
}

// What DrawTextA returns: the text's height, or with lower placement its bottom's offset.
int textHeight(UINT format, const QRect& bounds, int top) {
  bool lowered = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM));
  return lowered ? bounds.bottom() + 1 - top : bounds.height();
}

// length bytes of text, or up to its terminator when length is negative.
QString textOf(const char* text, int length) {
  if (text == nullptr) return QString();
  return length < 0 ? bytesToQString(text) : bytesToQString(text, static_cast<size_t>(length));
}

// The lines a text takes (one per line break, more where words wrap at the width) and the
// advance of the widest. DrawTextA measures a line a tmHeight, where Qt would add the face's
// leading between lines, and a line as wide as its text extent.
int measureLines(const QString& text, const QFont& font, int flags, int width, int* widest) {
  QFontMetrics metrics(font);
  QStringList paragraphs =
      (flags & Qt::TextSingleLine)
          ? QStringList{QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '))}
          : text.split(QLatin1Char('\n'));
  static const QRegularExpression mnemonicMark(QStringLiteral("&(?!&)"));
  int count = 0;
  *widest = 0;
  for (QString paragraph : paragraphs) {
    if (flags & Qt::TextShowMnemonic) paragraph.remove(mnemonicMark);
    if (!(flags & Qt::TextWordWrap)) {
      *widest = qMax(*widest, metrics.horizontalAdvance(paragraph));
      ++count;
      continue;
    }
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      QString shown = paragraph.mid(line.textStart(), line.textLength()).trimmed();
      *widest = qMax(*widest, metrics.horizontalAdvance(shown));
      ++count;
    }
    layout.endLayout();
  }
  return count > 0 ? count : 1;
}

}  // namespace

// The height of one line as Qt lays text out (its fractional height rounded up), so that
// tmHeight, text extents and DrawTextA's line steps agree.
int lineHeight(const QFont& font) { return qCeil(QFontMetricsF(font).height()); }

}  // namespace vornplatform

using namespace vornplatform;

BOOL GetTextMetricsA(HDC handle, LPTEXTMETRICA metrics) {
  DeviceContext* dc = contextOf(handle);
  if (dc == nullptr || metrics == nullptr) return FALSE;
  QFont font = fontOf(dc);
  QFontMetrics fm(font);
  QFontInfo info(font);
  *metrics = TEXTMETRICA{};
  metrics->tmHeight = lineHeight(font);
  metrics->tmAscent = fm.ascent();
  metrics->tmDescent = metrics->tmHeight - fm.ascent();
  metrics->tmInternalLeading = qMax(0, metrics->tmHeight - info.pixelSize());
  metrics->tmExternalLeading = qMax(0, fm.leading());
  metrics->tmAveCharWidth = fm.averageCharWidth();
  metrics->tmMaxCharWidth = qMax(fm.maxWidth(), fm.averageCharWidth());
  metrics->tmWeight = info.weight();
  metrics->tmDigitizedAspectX = 96;
  metrics->tmDigitizedAspectY = 96;
  metrics->tmFirstChar = 0x20;
  metrics->tmLastChar = 0xFF;
  metrics->tmDefaultChar = '?';
  metrics->tmBreakChar = ' ';
  metrics->tmItalic = info.italic() ? 1 : 0;
  metrics->tmUnderlined = font.underline() ? 1 : 0;
  metrics->tmStruckOut = font.strikeOut() ? 1 : 0;
  metrics->tmPitchAndFamily =
      static_cast<BYTE>((info.fixedPitch() ? 0 : TMPF_VARIABLE_PITCH) | TMPF_VECTOR |
                        TMPF_TRUETYPE | (info.fixedPitch() ? FF_MODERN : FF_SWISS));
  metrics->tmCharSet = ANSI_CHARSET;
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC handle, LPCSTR text, int length, LPSIZE size) {
  DeviceContext* dc = contextOf(handle);
  if (dc == nullptr || size == nullptr || length < 0 || (text == nullptr && length > 0))
    return FALSE;
  QFont font = fontOf(dc);
  size->cx = QFontMetrics(font).horizontalAdvance(textOf(text, length));
  size->cy = lineHeight(font);
  return TRUE;
}

BOOL TextOutA(HDC handle, int x, int y, LPCSTR text, int length) {
  DeviceContext* dc = contextOf(handle);
  if (dc == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
  QImage* target = targetOf(dc);
  QPainter painter;
  beginDrawing(dc, &painter, target);
  if (!painter.isActive()) return FALSE;
  QFont font = fontOf(dc);
  QFontMetrics fm(font);
  QString shown = textOf(text, length);
  if (dc->bkMode == OPAQUE)
    painter.fillRect(QRect(x, y, fm.horizontalAdvance(shown), lineHeight(font)),
                     colorOf(dc->bkColor));
  painter.setFont(font);
  painter.setPen(colorOf(dc->textColor));
  painter.drawText(QPoint(x, y + fm.ascent()), shown);
  painter.end();
  finishDrawing(dc);
  return TRUE;
}

int DrawTextA(HDC handle, LPCSTR text, int length, LPRECT rect, UINT format) {
  return drawTextTabbed(handle, text, length, rect, format, 8);
}

int vornplatform::drawTextTabbed(HDC handle, LPCSTR text, int length, LPRECT rect, UINT format,
                                 int tabColumns) {
  DeviceContext* dc = contextOf(handle);
  if (dc == nullptr || rect == nullptr || text == nullptr) return 0;
  QFont font = fontOf(dc);
  QFontMetrics fm(font);
  QRect area(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1));
  int flags = qtFlagsOf(format);
  QString shown =
      shownText(textOf(text, length), format, flags, fm, area.width(), qMax(tabColumns, 1));
  if (format & DT_CALCRECT) {
    // Only the size counts: the top-left stays, wrapping uses the rectangle's width.
    int width = (flags & Qt::TextWordWrap) ? qMax(area.width(), 1) : INT_MAX / 4;
    int widest = 0;
    int height = measureLines(shown, font, flags, width, &widest) * lineHeight(font);
    rect->right = rect->left + widest;
    rect->bottom = rect->top + height;
    return height;
  }
  QRect bounds = placedBounds(fm.boundingRect(area, flags, shown), area, format);
  QImage* target = targetOf(dc);
  QPainter painter;
  beginDrawing(dc, &painter, target);
  if (!painter.isActive()) return textHeight(format, bounds, rect->top);
  if (!(format & DT_NOCLIP))
    painter.setClipRect(area, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  if (dc->bkMode == OPAQUE) painter.fillRect(bounds, colorOf(dc->bkColor));
  if (format & DT_RTLREADING) painter.setLayoutDirection(Qt::RightToLeft);
  painter.setFont(font);
  painter.setPen(colorOf(dc->textColor));
  painter.drawText(area, flags, shown);
  painter.end();
  finishDrawing(dc);
  return textHeight(format, bounds, rect->top);
}
