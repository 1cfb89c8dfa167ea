// Links in rich edits (detection of the addresses we allow to be opened, EN_LINK on a left
// press), positions under the mouse, and word breaks.
#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "platform/ControlClass.h"
#include "platform/ControlRichEdit.h"

namespace vornplatform {
namespace {

// Only these may become links: the text comes from other people, and anything else (local
// files, program handlers) must not be one click away.
const char* const kLinkStarts[] = {"http://", "https://", "ftp://", "mailto:", "news:", "www."};

bool isBlankChar(QChar c) { return c.isSpace() || c == QChar::ObjectReplacementCharacter; }

bool isTrailingPunctuation(QChar c) {
  return c == '.' || c == ',' || c == ';' || c == ':' || c == '!' || c == '?' || c == ')' ||
         c == '"' || c == '\'' || c == '>' || c == ']';
}

void markLink(RichEditWidget* edit, int from, int length, const QString& address) {
  QTextCursor cursor(edit->document());
  cursor.setPosition(from);
  cursor.setPosition(from + length, QTextCursor::KeepAnchor);
  QTextCharFormat format;
  format.setAnchor(true);
  format.setAnchorHref(address);
  format.setFontUnderline(true);
  format.setForeground(QColor(0, 0, 255));
  cursor.mergeCharFormat(format);
}

// The character whose box holds the document point, or -1.
int charAtDocumentPoint(RichEditWidget* edit, const QPointF& point) {
  QAbstractTextDocumentLayout* layout = edit->document()->documentLayout();
  int hit = layout->hitTest(point, Qt::ExactHit);
  if (hit < 0) return -1;
  for (int candidate : {hit, hit - 1}) {
    if (candidate < 0) continue;
    QTextBlock block = edit->document()->findBlock(candidate);
    QTextLayout* text = block.layout();
    int inBlock = candidate - block.position();
    if (!text || inBlock >= block.length() - 1) continue;
    QTextLine line = text->lineForTextPosition(inBlock);
    if (!line.isValid()) continue;
    QPointF origin = layout->blockBoundingRect(block).topLeft();
    double x1 = origin.x() + line.cursorToX(inBlock);
    double x2 = origin.x() + line.cursorToX(inBlock + 1);
    double top = origin.y() + line.y();
    if (point.x() >= std::min(x1, x2) && point.x() < std::max(x1, x2) && point.y() >= top &&
        point.y() < top + line.height()) {
      return candidate;
    }
  }
  return -1;
}

QPointF documentPointOf(RichEditWidget* edit, int x, int y) {
  QPoint onViewport = edit->viewport()->mapFrom(edit, QPoint(x, y));
  return QPointF(onViewport.x() + edit->horizontalScrollBar()->value(),
                 onViewport.y() + edit->verticalScrollBar()->value());
}

bool isBlankByte(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

int linkLengthAt(const QString& text, int at) {
  if (at > 0 && !isBlankChar(text[at - 1]) && text[at - 1] != '(' && text[at - 1] != '<' &&
      text[at - 1] != '"') {
    return 0;
  }
  int prefix = 0;
  for (const char* start : kLinkStarts) {
    QLatin1String s(start);
    if (text.mid(at, s.size()).compare(s, Qt::CaseInsensitive) == 0) {
      prefix = static_cast<int>(s.size());
      break;
    }
  }
  if (prefix == 0) return 0;
  int end = at;
  while (end < text.size() && !isBlankChar(text[end])) ++end;
  while (end > at + prefix && isTrailingPunctuation(text[end - 1])) --end;
  return end > at + prefix ? end - at : 0;
}

void detectLinks(RichEditWidget* edit, int from, int to) {
  if (!edit->autoUrlDetect || to <= from) return;
  edit->formatting = true;
  for (QTextBlock block = edit->document()->findBlock(from);
       block.isValid() && block.position() < to; block = block.next()) {
    QString text = block.text();
    for (int i = 0; i < text.size(); ++i) {
      int length = linkLengthAt(text, i);
      if (length == 0) continue;
      markLink(edit, block.position() + i, length, text.mid(i, length));
      i += length;
    }
  }
  edit->formatting = false;
}

bool linkRangeAt(RichEditWidget* edit, int position, int* from, int* to) {
  QTextBlock block = edit->document()->findBlock(position);
  int runFrom = -1;
  int runTo = -1;
  QString runAddress;
  auto holds = [&] { return runFrom >= 0 && position >= runFrom && position < runTo; };
  // A link may span several fragments (a colour change splits one): join neighbours.
  for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
    QTextFragment fragment = it.fragment();
    QTextCharFormat format = fragment.charFormat();
    bool continues = format.isAnchor() && runFrom >= 0 && format.anchorHref() == runAddress &&
                     fragment.position() == runTo;
    if (continues) {
      runTo += fragment.length();
      continue;
    }
    if (holds()) break;
    runFrom = format.isAnchor() ? fragment.position() : -1;
    runTo = fragment.position() + fragment.length();
    runAddress = format.anchorHref();
  }
  if (!holds()) return false;
  *from = runFrom;
  *to = runTo;
  return true;
}

bool notifyLinkPress(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!(edit->eventMask & ENM_LINK)) return false;
  int x = static_cast<short>(LOWORD(lParam));
  int y = static_cast<short>(HIWORD(lParam));
  int position = charAtDocumentPoint(edit, documentPointOf(edit, x, y));
  int from = 0;
  int to = 0;
  if (position < 0 || !linkRangeAt(edit, position, &from, &to)) return false;
  ENLINK link{};
  link.nmhdr.code = EN_LINK;
  link.msg = msg;
  link.wParam = wParam;
  link.lParam = lParam;
  link.chrg.cpMin = static_cast<LONG>(edit->positions->byteOf(from));
  link.chrg.cpMax = static_cast<LONG>(edit->positions->byteOf(to));
  return sendNotifyToParent(edit->hwnd, &link.nmhdr) != 0;
}

LONG charFromClientPoint(RichEditWidget* edit, int x, int y) {
  QPoint onViewport = edit->viewport()->mapFrom(edit, QPoint(x, y));
  return static_cast<LONG>(edit->positions->byteOf(edit->cursorForPosition(onViewport).position()));
}

LRESULT findWordBreak(RichEditWidget* edit, int code, long long position) {
  std::string text = edit->positions->bytesBetween(0, edit->document()->characterCount() - 1);
  long long n = static_cast<long long>(text.size());
  long long p = std::max(0LL, std::min(position, n));
  auto blank = [&](long long i) { return isBlankByte(text[static_cast<size_t>(i)]); };
  switch (code) {
    case WB_ISDELIMITER:
      return p >= n || blank(p) ? TRUE : FALSE;
    case WB_RIGHTBREAK:
      while (p < n && !blank(p)) ++p;
      return static_cast<LRESULT>(p);
    case WB_LEFT:
      while (p > 0 && blank(p - 1)) --p;
      return static_cast<LRESULT>(p);
    case WB_LEFTBREAK:
      while (p > 0 && !blank(p - 1)) --p;
      return static_cast<LRESULT>(p);
    case WB_MOVEWORDLEFT:
      while (p > 0 && blank(p - 1)) --p;
      while (p > 0 && !blank(p - 1)) --p;
      return static_cast<LRESULT>(p);
    case WB_RIGHT:
    case WB_MOVEWORDRIGHT:
      while (p < n && !blank(p)) ++p;
      while (p < n && blank(p)) ++p;
      return static_cast<LRESULT>(p);
    default:
      return 0;
  }
}

}  // namespace vornplatform
