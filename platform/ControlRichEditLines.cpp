// Display lines (wrapped layout lines, not paragraphs) and scrolling of rich edits.
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPointer>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/ControlClass.h"
#include "platform/ControlRichEdit.h"
#include "platform/ControlRichEditScroll.h"

namespace vornplatform {
namespace {

// A display line: its paragraph and its number inside the paragraph.
struct LinePlace {
  QTextBlock block;
  int inBlock = 0;
};

int lineCountOf(QTextDocument* document, const QTextBlock& block) {
  document->documentLayout()->blockBoundingRect(block);  // lays the paragraph out
  QTextLayout* layout = block.layout();
  return layout ? std::max(1, layout->lineCount()) : 1;
}

int lineOfPosition(RichEditWidget* edit, int position) {
  QTextDocument* document = edit->document();
  QTextBlock target = document->findBlock(position);
  int line = 0;
  for (QTextBlock b = document->begin(); b.isValid() && b != target; b = b.next())
    line += lineCountOf(document, b);
  lineCountOf(document, target);
  QTextLayout* layout = target.layout();
  if (layout && layout->lineCount() > 0) {
    QTextLine inside = layout->lineForTextPosition(position - target.position());
    if (inside.isValid()) line += inside.lineNumber();
  }
  return line;
}

int lineCount(RichEditWidget* edit) {
  int count = 0;
  QTextDocument* document = edit->document();
  for (QTextBlock b = document->begin(); b.isValid(); b = b.next())
    count += lineCountOf(document, b);
  return count;
}

bool findLine(RichEditWidget* edit, int line, LinePlace* place) {
  if (line < 0) return false;
  QTextDocument* document = edit->document();
  for (QTextBlock b = document->begin(); b.isValid(); b = b.next()) {
    int n = lineCountOf(document, b);
    if (line < n) {
      place->block = b;
      place->inBlock = line;
      return true;
    }
    line -= n;
  }
  return false;
}

// Document positions of a display line's first character and of its end.
void lineSpan(const LinePlace& place, int* from, int* to) {
  QTextLayout* layout = place.block.layout();
  int base = place.block.position();
  if (!layout || layout->lineCount() == 0) {
    *from = base;
    *to = base + place.block.length() - 1;
    return;
  }
  QTextLine line = layout->lineAt(place.inBlock);
  *from = base + line.textStart();
  *to = std::min(base + line.textStart() + line.textLength(), base + place.block.length() - 1);
}

bool isLastLineOfBlock(const LinePlace& place) {
  QTextLayout* layout = place.block.layout();
  return !layout || place.inBlock >= layout->lineCount() - 1;
}

int caretLine(RichEditWidget* edit) { return lineOfPosition(edit, edit->selection().position()); }

LRESULT lineIndex(RichEditWidget* edit, WPARAM wParam) {
  int line = static_cast<int>(wParam) == -1 ? caretLine(edit) : static_cast<int>(wParam);
  LinePlace place;
  if (!findLine(edit, line, &place)) return -1;
  int from = 0;
  int to = 0;
  lineSpan(place, &from, &to);
  return static_cast<LRESULT>(edit->positions->byteOf(from));
}

LRESULT lineLength(RichEditWidget* edit, WPARAM wParam) {
  int position = static_cast<int>(wParam) < 0
                     ? edit->selection().position()
                     : edit->positions->positionOf(static_cast<long long>(wParam));
  LinePlace place;
  if (!findLine(edit, lineOfPosition(edit, position), &place)) return 0;
  int from = 0;
  int to = 0;
  lineSpan(place, &from, &to);
  return static_cast<LRESULT>(edit->positions->byteOf(to) - edit->positions->byteOf(from));
}

// Reads at most the WORD at the buffer's start bytes; no terminating NUL; "\r" at a
// paragraph's end, as the rich edit does.
LRESULT getLine(RichEditWidget* edit, WPARAM line, LPARAM lParam) {
  char* buffer = reinterpret_cast<char*>(lParam);
  if (!buffer) return 0;
  WORD max = 0;
  std::memcpy(&max, buffer, sizeof(WORD));
  LinePlace place;
  if (max == 0 || !findLine(edit, static_cast<int>(line), &place)) return 0;
  int from = 0;
  int to = 0;
  lineSpan(place, &from, &to);
  std::string text = RichEditPositions::blockText(place.block, from, to);
  if (isLastLineOfBlock(place) && place.block.next().isValid()) text += '\r';
  size_t n = std::min(text.size(), static_cast<size_t>(max));
  std::memcpy(buffer, text.data(), n);
  return static_cast<LRESULT>(n);
}

int firstVisibleLine(RichEditWidget* edit) {
  // One pixel down: a line that starts exactly at the top edge is the first one shown.
  QTextCursor top = edit->cursorForPosition(QPoint(0, 1));
  return lineOfPosition(edit, top.position());
}

// The document y of a display line's top.
int lineTop(RichEditWidget* edit, const LinePlace& place) {
  QRectF box = edit->document()->documentLayout()->blockBoundingRect(place.block);
  QTextLayout* layout = place.block.layout();
  double y = box.top();
  if (layout && place.inBlock < layout->lineCount()) y += layout->lineAt(place.inBlock).y();
  return static_cast<int>(std::ceil(y));
}

LRESULT scrollLines(RichEditWidget* edit, int delta) {
  int target = std::max(0, firstVisibleLine(edit) + delta);
  LinePlace place;
  if (!findLine(edit, target, &place)) findLine(edit, std::max(0, lineCount(edit) - 1), &place);
  if (place.block.isValid()) edit->verticalScrollBar()->setValue(lineTop(edit, place));
  return TRUE;
}

void scrollAction(RichEditWidget* edit, int code, int thumb) {
  QScrollBar* bar = edit->verticalScrollBar();
  QScopedValueRollback<bool> working(edit->scrollingByMessage, true);
  switch (code) {
    case SB_LINEUP:
      bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
      break;
    case SB_LINEDOWN:
      bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      break;
    case SB_PAGEUP:
      bar->triggerAction(QAbstractSlider::SliderPageStepSub);
      break;
    case SB_PAGEDOWN:
      bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
      break;
    case SB_TOP:
      bar->setValue(bar->minimum());
      break;
    case SB_BOTTOM:
      bar->setValue(bar->maximum());
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      bar->setValue(thumb);
      break;
    default:
      break;
  }
}

// The thumb's position: the message carries only its low 16 bits, so while the scroll bar's
// own message is on its way the whole value is taken from there.
int thumbPosition(RichEditWidget* edit, WPARAM wParam) {
  int low = HIWORD(wParam);
  if (edit->thumbTrack >= 0 && (edit->thumbTrack & 0xFFFF) == low) return edit->thumbTrack;
  return low;
}

const int kWheelLines = 3;  // lines a notch, the desktop's default

// A finer wheel's deltas add up to notches; turning it the other way starts afresh.
LRESULT scrollByWheel(RichEditWidget* edit, int delta) {
  if ((delta > 0) != (edit->wheelRest > 0)) edit->wheelRest = 0;
  edit->wheelRest += delta;
  int notches = edit->wheelRest / WHEEL_DELTA;
  edit->wheelRest -= notches * WHEEL_DELTA;
  if (notches != 0) scrollLines(edit, -notches * kWheelLines);
  return 0;
}

int scrollCodeOf(QScrollBar* bar, int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub:
      return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd:
      return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub:
      return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum:
      return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
      return SB_BOTTOM;
    case QAbstractSlider::SliderMove:
      return bar->isSliderDown() ? SB_THUMBTRACK : SB_THUMBPOSITION;
    default:
      return -1;
  }
}

void sendScroll(RichEditWidget* edit, int code, int thumb) {
  edit->thumbTrack = thumb;
  SendMessageA(edit->hwnd, WM_VSCROLL, MAKEWPARAM(code, static_cast<WORD>(thumb & 0xFFFF)), 0);
  edit->thumbTrack = -1;
}

// Qt's scroll bar has already moved its slider for the action: the slider goes back and the
// window procedure decides, so a subclass sees the scroll and may swallow it.
void routeAction(RichEditWidget* edit, int action) {
  QScrollBar* bar = edit->verticalScrollBar();
  int code = scrollCodeOf(bar, action);
  if (edit->scrollingByMessage || code < 0) return;
  int wanted = bar->sliderPosition();
  bar->setSliderPosition(bar->value());
  QPointer<RichEditWidget> alive(edit);
  sendScroll(edit, code, wanted);
  if (alive && code == SB_THUMBTRACK) edit->lastThumb = wanted;
}

// Qt defers resize handling of hidden widgets; the scroll metrics must follow the layer's
// geometry at once.
void followSize(RichEditWidget* edit) {
  if (edit->isVisible()) return;
  QResizeEvent event(edit->size(), edit->size());
  QCoreApplication::sendEvent(edit, &event);
}

// A rich edit reads a POINTL through lParam and answers the character; an "EDIT" gets the
// point packed into lParam and answers MAKELONG(character, line).
LRESULT charFromPos(RichEditWidget* edit, LPARAM lParam) {
  if (!edit->editClass) {
    auto* point = reinterpret_cast<const POINTL*>(lParam);
    return point ? charFromClientPoint(edit, point->x, point->y) : 0;
  }
  int x = static_cast<short>(LOWORD(lParam));
  int y = static_cast<short>(HIWORD(lParam));
  LONG character = charFromClientPoint(edit, x, y);
  int line = lineOfPosition(edit, edit->positions->positionOf(character));
  return MAKELONG(static_cast<WORD>(character), static_cast<WORD>(line));
}

}  // namespace

LRESULT handleLineMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam,
                          bool* handled) {
  *handled = true;
  switch (msg) {
    case EM_LINEINDEX:
      return lineIndex(edit, wParam);
    case EM_LINELENGTH:
      return lineLength(edit, wParam);
    case EM_GETLINE:
      return getLine(edit, wParam, lParam);
    case EM_GETLINECOUNT:
      return lineCount(edit);
    case EM_EXLINEFROMCHAR:
      return lineOfPosition(edit, edit->positions->positionOf(static_cast<long long>(lParam)));
    case EM_LINEFROMCHAR:
      if (static_cast<int>(wParam) < 0) return caretLine(edit);
      return lineOfPosition(edit, edit->positions->positionOf(static_cast<long long>(wParam)));
    case EM_GETFIRSTVISIBLELINE:
      return firstVisibleLine(edit);
    case EM_CHARFROMPOS:
      return charFromPos(edit, lParam);
    default:
      *handled = false;
      return 0;
  }
}

LRESULT handleScrollMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam,
                            bool* handled) {
  *handled = true;
  switch (msg) {
    case EM_LINESCROLL:
      return scrollLines(edit, static_cast<int>(lParam));
    case EM_SCROLL: {
      int before = firstVisibleLine(edit);
      scrollAction(edit, static_cast<int>(wParam), 0);
      int moved = firstVisibleLine(edit) - before;
      return MAKELONG(static_cast<WORD>(static_cast<short>(moved)), TRUE);
    }
    case EM_SCROLLCARET:
      if (edit->deferCaretScroll()) return 0;
      edit->settle();
      edit->showSelection();
      edit->ensureCursorVisible();
      return 0;
    case WM_VSCROLL:
      if (LOWORD(wParam) == SB_BOTTOM && edit->deferScrollToEnd()) return 0;
      edit->settle();
      scrollAction(edit, LOWORD(wParam), thumbPosition(edit, wParam));
      return 0;
    case WM_MOUSEWHEEL:
      return scrollByWheel(edit, static_cast<short>(HIWORD(wParam)));
    case WM_SIZE:
      followSize(edit);
      break;
    default:
      break;
  }
  *handled = false;
  return 0;
}

void routeScrollBarActions(RichEditWidget* edit) {
  QScrollBar* bar = edit->verticalScrollBar();
  QObject::connect(bar, &QAbstractSlider::actionTriggered, edit,
                   [edit](int action) { routeAction(edit, action); });
  // Letting the thumb go ends the drag where it was let go.
  QObject::connect(bar, &QAbstractSlider::sliderReleased, edit, [edit] {
    if (edit->lastThumb < 0) return;
    int thumb = edit->lastThumb;
    edit->lastThumb = -1;
    QPointer<RichEditWidget> alive(edit);
    sendScroll(edit, SB_THUMBPOSITION, thumb);
    if (alive) sendScroll(edit, SB_ENDSCROLL, 0);
  });
}

bool controlScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
  RichEditWidget* edit = richEditOf(hwnd);
  if (!edit || (bar != SB_VERT && bar != SB_HORZ)) return false;
  QScrollBar* qbar = bar == SB_VERT ? edit->verticalScrollBar() : edit->horizontalScrollBar();
  // Qt's maximum is the last position of the view's top; Win32 counts the page in the range.
  if (info->fMask & SIF_RANGE) {
    info->nMin = qbar->minimum();
    info->nMax = qbar->maximum() + qbar->pageStep() - 1;
  }
  if (info->fMask & SIF_PAGE) info->nPage = static_cast<UINT>(qbar->pageStep());
  if (info->fMask & SIF_POS) info->nPos = qbar->value();
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = qbar->value();
  return true;
}

}  // namespace vornplatform
