// The rich-edit control classes: creation, selection and text messages, options, keys and
// change notifications. Formats, lines, links and pictures live in the sibling files.
#include "platform/ControlRichEdit.h"

#include <QKeyEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/ControlClass.h"
#include "platform/TextCodec.h"

namespace vornplatform {

RichEditWidget::RichEditWidget(HWND window, QWidget* parent)
    : QTextEdit(parent),
      hwnd(window),
      positions(new RichEditPositions(document())),
      selection_(document()) {
  QObject::connect(this, &QTextEdit::cursorPositionChanged, this, [this] { followWidgetCursor(); });
  QObject::connect(this, &QTextEdit::selectionChanged, this, [this] { followWidgetCursor(); });
}

RichEditWidget::~RichEditWidget() {
  settle();
  releaseRichEditOle(this);
}

void RichEditWidget::setTextCursor(const QTextCursor& cursor) {
  selection_ = cursor;
  stale_ = true;
  queueCatchUp();
}

void RichEditWidget::queueCatchUp() {
  if (showPending_) return;
  showPending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        showPending_ = false;
        settle();
        showSelection();
      },
      Qt::QueuedConnection);
}

void RichEditWidget::showSelection() {
  settle();
  if (!stale_) return;
  stale_ = false;
  ScrollKeeper keep(this);
  QTextEdit::setTextCursor(selection_);
}

void RichEditWidget::deferLayout() {
  // While Qt handles an event its own edits must not be held back with ours.
  if (deferred_ || inputDepth_ > 0) return;
  deferred_ = true;
  modified_ = document()->isModified();
  held_ = QTextCursor(document());
  held_.beginEditBlock();
  queueCatchUp();
}

void RichEditWidget::settle() {
  if (!deferred_) return;
  deferred_ = false;
  settling = true;
  {
    ScrollKeeper keep(this);
    held_.endEditBlock();
  }
  settling = false;
  held_ = QTextCursor();
  // Closing a block always marks the document modified; the flag is what the changes and the
  // messages left it.
  document()->setModified(modified_);
  scrollAsAsked();
}

void RichEditWidget::setModifiedFlag(bool modified) {
  if (deferred_)
    modified_ = modified;
  else
    document()->setModified(modified);
}

bool RichEditWidget::modifiedFlag() const {
  return deferred_ ? modified_ : document()->isModified();
}

namespace {
QTextCursor endMark(QTextDocument* document) {
  QTextCursor mark(document);
  mark.movePosition(QTextCursor::End);
  mark.setKeepPositionOnInsert(true);
  return mark;
}
}  // namespace

bool RichEditWidget::deferScrollToEnd() {
  if (!deferred_) return false;
  bottomMark_ = endMark(document());
  caretAskedLast_ = false;
  return true;
}

bool RichEditWidget::deferCaretScroll() {
  if (!deferred_ || selection_.hasSelection() ||
      selection_.position() != document()->characterCount() - 1)
    return false;
  caretMark_ = endMark(document());
  caretAskedLast_ = true;
  return true;
}

void RichEditWidget::beforeChangeAt(int position) {
  int first = INT_MAX;
  if (!bottomMark_.isNull()) first = bottomMark_.position();
  if (!caretMark_.isNull()) first = std::min(first, caretMark_.position());
  if (position < first) settle();
}

// Both waiting scrolls in the order they were asked: showing the caret at the end and
// going to the bottom commute except in a view shorter than a line.
void RichEditWidget::scrollAsAsked() {
  QTextCursor bottom = bottomMark_;
  QTextCursor caret = caretMark_;
  bottomMark_ = QTextCursor();
  caretMark_ = QTextCursor();
  if (caretAskedLast_ && !bottom.isNull()) scrollToMark(bottom);
  if (!caret.isNull()) showMarkedCaret(caret);
  if (!caretAskedLast_ && !bottom.isNull()) scrollToMark(bottom);
}

// The bottom as it was when asked: the end of the text, or, when text came after the request,
// the line where the text ended then at the view's bottom edge.
void RichEditWidget::scrollToMark(const QTextCursor& mark) {
  QScrollBar* bar = verticalScrollBar();
  if (mark.position() >= document()->characterCount() - 1) {
    bar->setValue(bar->maximum());
    return;
  }
  QRect line = cursorRect(mark);  // viewport coordinates
  int bottom = bar->value() + line.bottom() + 1 + static_cast<int>(document()->documentMargin());
  bar->setValue(std::min(bar->maximum(), std::max(0, bottom - viewport()->height())));
}

// As EM_SCROLLCARET does: the widget's cursor goes to the caret, which Qt scrolls into view;
// the selection is shown again afterwards without moving the view.
void RichEditWidget::showMarkedCaret(const QTextCursor& mark) {
  QTextCursor caret(document());
  caret.setPosition(mark.position());
  QTextEdit::setTextCursor(caret);
  stale_ = selection_.hasSelection() || selection_.position() != caret.position();
  if (stale_) queueCatchUp();
}

// The user moved the widget's cursor (typing, clicking, keys): the selection follows.
void RichEditWidget::followWidgetCursor() {
  if (inputDepth_ > 0 && !stale_) selection_ = QTextEdit::textCursor();
}

bool RichEditWidget::handleEvent(QEvent* e, bool onViewport) {
  settle();
  if (e->type() != QEvent::Paint && e->type() != QEvent::UpdateRequest) showSelection();
  QPointer<RichEditWidget> alive(this);  // the event may delete the widget (deferred delete)
  ++inputDepth_;
  bool done = onViewport ? QTextEdit::viewportEvent(e) : QTextEdit::event(e);
  if (alive) --inputDepth_;
  return done;
}

bool RichEditWidget::event(QEvent* e) { return handleEvent(e, false); }

void RichEditWidget::keyPressEvent(QKeyEvent* e) {
  // The class procedure did the clipboard's work on the key's message (or a subclass kept it).
  if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Cut) ||
      e->matches(QKeySequence::Paste)) {
    e->accept();
    return;
  }
  // Control+Enter breaks the line as Enter does (an edit whose owner takes Enter for itself
  // leaves this one to the control); Qt would ignore it.
  bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (!enter || !(e->modifiers() & Qt::ControlModifier)) {
    QTextEdit::keyPressEvent(e);
    return;
  }
  QKeyEvent plain(QEvent::KeyPress, e->key(), e->modifiers() & Qt::KeypadModifier,
                  QStringLiteral("\r"));
  QTextEdit::keyPressEvent(&plain);
  e->setAccepted(plain.isAccepted());
}
bool RichEditWidget::viewportEvent(QEvent* e) { return handleEvent(e, true); }

namespace {
RichEditWidget* unsettledOf(HWND hwnd) { return controlWidget<RichEditWidget>(hwnd); }
}  // namespace

RichEditWidget* richEditOf(HWND hwnd) {
  RichEditWidget* edit = unsettledOf(hwnd);
  if (edit) edit->settle();
  return edit;
}

ScrollKeeper::ScrollKeeper(QTextEdit* edit)
    : edit_(edit),
      vertical_(edit->verticalScrollBar()->value()),
      horizontal_(edit->horizontalScrollBar()->value()) {}

ScrollKeeper::~ScrollKeeper() {
  edit_->verticalScrollBar()->setValue(vertical_);
  edit_->horizontalScrollBar()->setValue(horizontal_);
}

namespace {

void notifyChange(RichEditWidget* edit) {
  if (edit->formatting || !IsWindow(edit->hwnd)) return;
  if (edit->eventMask & ENM_UPDATE) sendCommandToParent(edit->hwnd, EN_UPDATE);
  if (edit->eventMask & ENM_CHANGE) sendCommandToParent(edit->hwnd, EN_CHANGE);
}

}  // namespace

// Qt announces a change made outside a held-back block itself (see makeEdit).
void notifyHeldChange(RichEditWidget* edit) {
  if (edit->layoutDeferred()) notifyChange(edit);
}

void selectBytes(RichEditWidget* edit, long long start, long long end) {
  edit->deferLayout();
  QTextCursor cursor(edit->document());
  cursor.setPosition(edit->positions->positionOf(start));
  cursor.setPosition(edit->positions->positionOf(end), QTextCursor::KeepAnchor);
  edit->setTextCursor(cursor);
  // Moving the caret picks up the format of the text before it, as typing would.
  QTextCharFormat format = cursor.charFormat();
  format.clearProperty(kRawByteProperty);
  format.setAnchor(false);
  format.clearProperty(QTextFormat::AnchorHref);
  if (format.isImageFormat()) {
    format.clearProperty(QTextFormat::ObjectType);
    format.clearProperty(QTextFormat::ImageName);
    format.clearProperty(QTextFormat::ImageWidth);
    format.clearProperty(QTextFormat::ImageHeight);
  }
  edit->insertFormat = format;
}

void selectionBytes(RichEditWidget* edit, long long* start, long long* end) {
  QTextCursor cursor = edit->selection();
  *start = edit->positions->byteOf(cursor.selectionStart());
  *end = edit->positions->byteOf(cursor.selectionEnd());
}

void setSelectionByRules(RichEditWidget* edit, long long start, long long end) {
  long long total = edit->positions->totalBytes();
  if (start == -1 && end == -1) {
    selectBytes(edit, total, total);
    return;
  }
  if (start < 0) {  // deselect, keep the caret
    long long caret = edit->positions->byteOf(edit->selection().position());
    selectBytes(edit, caret, caret);
    return;
  }
  if (end < 0) end = total;
  if (start == end && start > total) start = end = total;
  selectBytes(edit, std::min(start, total), std::min(end, total));
}

void replaceSelection(RichEditWidget* edit, const char* text, size_t length) {
  edit->beforeChangeAt(edit->selection().selectionStart());
  edit->deferLayout();
  QTextCursor cursor = edit->selection();
  ScrollKeeper keep(edit);
  bool changes = cursor.hasSelection() || length > 0;
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  int from = cursor.position();
  insertBytes(cursor, text, length, edit->insertFormat);
  cursor.endEditBlock();
  if (changes) {
    edit->markEdited();
    edit->positions->changedAt(from);
    notifyHeldChange(edit);
  }
  detectLinks(edit, from, cursor.position());
  edit->setTextCursor(cursor);
}

namespace {

// WM_GETTEXT and friends write "\r\n" per paragraph mark.
std::string windowText(RichEditWidget* edit) {
  std::string text = edit->positions->bytesBetween(0, edit->document()->characterCount() - 1);
  std::string out;
  out.reserve(text.size() + static_cast<size_t>(edit->document()->blockCount()));
  for (char c : text) {
    out += c;
    if (c == '\r') out += '\n';
  }
  return out;
}

LRESULT copyOut(const std::string& text, char* buffer, size_t size) {
  if (!buffer || size == 0) return 0;
  size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return static_cast<LRESULT>(n);
}

std::string rangeText(RichEditWidget* edit, long long from, long long to) {
  if (to < 0) to = edit->positions->totalBytes();
  if (from < 0 || to <= from) return std::string();
  int a = edit->positions->positionOf(from);
  int b = edit->positions->positionOf(to);
  return edit->positions->bytesBetween(a, b);
}

void setWholeText(RichEditWidget* edit, const char* text) {
  selectBytes(edit, 0, edit->positions->totalBytes());
  replaceSelection(edit, text ? text : "", text ? std::strlen(text) : 0);
  selectBytes(edit, 0, 0);
  edit->settle();
  edit->document()->setModified(false);
}

void applyReadOnly(RichEditWidget* edit) {
  bool readOnly = (edit->options & ECO_READONLY) != 0;
  // Typing still needs the caret and keyboard selection on a read-only pane.
  Qt::TextInteractionFlags flags = readOnly
                                       ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                       : Qt::TextEditorInteraction;
  // Qt sends the widget an event even when nothing changes, which would settle the layout.
  if (edit->isReadOnly() == readOnly && edit->textInteractionFlags() == flags) return;
  edit->setReadOnly(readOnly);
  edit->setTextInteractionFlags(flags);
}

DWORD setOptions(RichEditWidget* edit, WPARAM operation, DWORD value) {
  switch (operation) {
    case ECOOP_SET:
      edit->options = value;
      break;
    case ECOOP_OR:
      edit->options |= value;
      break;
    case ECOOP_AND:
      edit->options &= value;
      break;
    case ECOOP_XOR:
      edit->options ^= value;
      break;
    default:
      break;
  }
  applyReadOnly(edit);
  return edit->options;
}

void setTextMode(RichEditWidget* edit, WPARAM mode) {
  edit->plainText = (mode & TM_PLAINTEXT) != 0;
  edit->setAcceptRichText(!edit->plainText);
}

// A typed character beyond the limit is refused (programmatic inserts are not limited).
bool typingRefused(RichEditWidget* edit, WPARAM ch) {
  if (ch < 0x20 || ch == 0x7F || edit->isReadOnly()) return false;
  QTextCursor cursor = edit->selection();
  return !cursor.hasSelection() && edit->positions->totalBytes() >= edit->limit;
}

LRESULT textMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = true;
  switch (msg) {
    case WM_SETTEXT:
      setWholeText(edit, reinterpret_cast<const char*>(lParam));
      return TRUE;
    case WM_GETTEXT:
      return copyOut(windowText(edit), reinterpret_cast<char*>(lParam), wParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(edit->positions->totalBytes() + edit->document()->blockCount() -
                                  1);
    case EM_GETTEXTLENGTHEX: {
      auto* how = reinterpret_cast<const GETTEXTLENGTHEX*>(wParam);
      long long n = edit->positions->totalBytes();
      if (how && (how->flags & GTL_USECRLF)) n += edit->document()->blockCount() - 1;
      return static_cast<LRESULT>(n);
    }
    case EM_GETTEXTRANGE: {
      auto* range = reinterpret_cast<TEXTRANGEA*>(lParam);
      if (!range || !range->lpstrText) return 0;
      std::string text = rangeText(edit, range->chrg.cpMin, range->chrg.cpMax);
      std::memcpy(range->lpstrText, text.data(), text.size());
      range->lpstrText[text.size()] = 0;
      return static_cast<LRESULT>(text.size());
    }
    case EM_GETSELTEXT: {
      char* buffer = reinterpret_cast<char*>(lParam);
      if (!buffer) return 0;
      QTextCursor cursor = edit->selection();
      std::string text =
          edit->positions->bytesBetween(cursor.selectionStart(), cursor.selectionEnd());
      std::memcpy(buffer, text.data(), text.size());
      buffer[text.size()] = 0;
      return static_cast<LRESULT>(text.size());
    }
    case EM_REPLACESEL: {
      const char* text = reinterpret_cast<const char*>(lParam);
      replaceSelection(edit, text ? text : "", text ? std::strlen(text) : 0);
      long long total = edit->positions->totalBytes();
      if (total > edit->limit) edit->limit = total;
      return 0;
    }
    default:
      *handled = false;
      return 0;
  }
}

LRESULT selectionMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam,
                         bool* handled) {
  *handled = true;
  long long start = 0;
  long long end = 0;
  switch (msg) {
    case EM_SETSEL:
      setSelectionByRules(edit, static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case EM_EXSETSEL: {
      auto* range = reinterpret_cast<const CHARRANGE*>(lParam);
      if (!range) return 0;
      setSelectionByRules(edit, range->cpMin, range->cpMax);
      selectionBytes(edit, &start, &end);
      return static_cast<LRESULT>(end);
    }
    case EM_GETSEL:
      selectionBytes(edit, &start, &end);
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
      return MAKELONG(static_cast<WORD>(std::min(start, 0xFFFFLL)),
                      static_cast<WORD>(std::min(end, 0xFFFFLL)));
    case EM_EXGETSEL: {
      auto* range = reinterpret_cast<CHARRANGE*>(lParam);
      selectionBytes(edit, &start, &end);
      if (range) {
        range->cpMin = static_cast<LONG>(start);
        range->cpMax = static_cast<LONG>(end);
      }
      return 0;
    }
    default:
      *handled = false;
      return 0;
  }
}

LRESULT stateMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = true;
  switch (msg) {
    case EM_SETMODIFY:
      edit->setModifiedFlag(wParam != 0);
      return 0;
    case EM_GETMODIFY:
      return edit->modifiedFlag() ? TRUE : FALSE;
    case EM_SETREADONLY:
      edit->options = wParam ? (edit->options | ECO_READONLY)
                             : (edit->options & ~static_cast<DWORD>(ECO_READONLY));
      applyReadOnly(edit);
      return TRUE;
    case EM_SETOPTIONS:
      return static_cast<LRESULT>(setOptions(edit, wParam, static_cast<DWORD>(lParam)));
    case EM_GETOPTIONS:
      return static_cast<LRESULT>(edit->options);
    case EM_LIMITTEXT:
      edit->limit = wParam ? static_cast<long long>(wParam) : 65536;
      return 0;
    case EM_EXLIMITTEXT:
      edit->limit = lParam ? static_cast<long long>(lParam) : 65536;
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(edit->limit);
    case EM_SETEVENTMASK: {
      DWORD old = edit->eventMask;
      edit->eventMask = static_cast<DWORD>(lParam);
      return static_cast<LRESULT>(old);
    }
    case EM_GETEVENTMASK:
      return static_cast<LRESULT>(edit->eventMask);
    case EM_SETTEXTMODE:
      setTextMode(edit, wParam);
      return 0;
    case EM_GETTEXTMODE:
      return edit->plainText ? TM_PLAINTEXT : TM_RICHTEXT;
    case EM_AUTOURLDETECT:
      edit->autoUrlDetect = wParam != 0;
      return 0;
    case EM_SETCHARFORMAT:
      return setCharFormatRecord(edit, wParam, lParam);
    case EM_GETCHARFORMAT:
      return getCharFormatRecord(edit, wParam, lParam);
    case EM_SETBKGNDCOLOR:
      return static_cast<LRESULT>(
          setBackgroundColour(edit, wParam != 0, static_cast<COLORREF>(lParam)));
    case EM_FINDWORDBREAK:
      return findWordBreak(edit, static_cast<int>(wParam), static_cast<long long>(lParam));
    case EM_GETOLEINTERFACE: {
      auto* out = reinterpret_cast<IRichEditOle**>(lParam);
      if (!out) return 0;
      *out = richEditOleOf(edit);
      return *out ? TRUE : FALSE;
    }
    default:
      *handled = false;
      return 0;
  }
}

LRESULT inputMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = false;
  if (msg == WM_SETFOCUS) restoreCaret(edit);
  if (msg == WM_LBUTTONDOWN) SetFocus(edit->hwnd);  // a click takes the focus
  if (msg == WM_CHAR && typingRefused(edit, wParam)) {
    *handled = true;
    return 0;
  }
  if (msg == WM_LBUTTONDOWN && notifyLinkPress(edit, msg, wParam, lParam)) {
    *handled = true;
    return 0;
  }
  // Only the plain edit has a menu of its own; a rich edit leaves it to its parent.
  if (msg == WM_CONTEXTMENU && edit->editClass) {
    showEditMenu(edit, lParam);
    *handled = true;
  }
  return 0;
}

// The messages an output pane sends for each line: they neither need nor disturb the layout,
// so Qt may go on holding its layout work back through them. Scrolling to the end waits for
// the layout (see RichEditWidget::deferScrollToEnd).
bool keepsLayoutDeferred(UINT msg, WPARAM wParam) {
  switch (msg) {
    case EM_SETMODIFY:
    case EM_GETMODIFY:
    case EM_LIMITTEXT:
    case EM_EXLIMITTEXT:
    case EM_GETLIMITTEXT:
    case EM_SETOPTIONS:
    case EM_GETOPTIONS:
    case EM_SETREADONLY:
    case EM_SETEVENTMASK:
    case EM_GETEVENTMASK:
    case EM_SCROLLCARET:
    // A picture goes in through the OLE interface as text does through EM_REPLACESEL: a
    // line's pictures share the layout of the appends around them.
    case EM_GETOLEINTERFACE:
      return true;
    case WM_VSCROLL:
      return LOWORD(wParam) == SB_BOTTOM;
    case EM_SETSEL:
    case EM_EXSETSEL:
    case EM_GETSEL:
    case EM_EXGETSEL:
    case EM_REPLACESEL:
    case EM_GETTEXTLENGTHEX:
    case WM_GETTEXTLENGTH:
    case WM_GETTEXT:
    case EM_GETTEXTRANGE:
    case EM_GETSELTEXT:
    case EM_GETCHARFORMAT:
      return true;
    case EM_SETCHARFORMAT:
      return wParam != SCF_DEFAULT && !(wParam & SCF_ALL);
    default:
      return false;
  }
}

LRESULT CALLBACK richEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  RichEditWidget* edit = unsettledOf(hwnd);
  if (!edit) return controlDefaultProc(hwnd, msg, wParam, lParam);
  if (!keepsLayoutDeferred(msg, wParam)) edit->settle();
  bool handled = false;
  LRESULT result = handleClipboardMessage(edit, msg, wParam, &handled);
  if (!handled) result = textMessage(edit, msg, wParam, lParam, &handled);
  if (!handled) result = selectionMessage(edit, msg, wParam, lParam, &handled);
  if (!handled) result = stateMessage(edit, msg, wParam, lParam, &handled);
  if (!handled) result = handleLineMessage(edit, msg, wParam, lParam, &handled);
  if (!handled) result = handleScrollMessage(edit, msg, wParam, lParam, &handled);
  if (!handled) result = inputMessage(edit, msg, wParam, lParam, &handled);
  if (handled) return result;
  return controlDefaultProc(hwnd, msg, wParam, lParam);
}

// A client edge is the sunken two-pixel frame of an edit; a border is a plain line.
void setEdge(RichEditWidget* edit, DWORD exStyle, DWORD style) {
  if (exStyle & WS_EX_CLIENTEDGE) {
    edit->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  } else if (style & WS_BORDER) {
    edit->setFrameStyle(QFrame::Box | QFrame::Plain);
    edit->setLineWidth(1);
  } else {
    edit->setFrameShape(QFrame::NoFrame);
  }
}

RichEditWidget* makeEdit(HWND hwnd, const CREATESTRUCTA& cs, QWidget* parent, bool plain) {
  auto* edit = new RichEditWidget(hwnd, parent);
  DWORD style = static_cast<DWORD>(cs.style);
  edit->setTabChangesFocus(false);
  edit->setUndoRedoEnabled(false);
  setEdge(edit, static_cast<DWORD>(cs.dwExStyle), style);
  edit->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                        : Qt::ScrollBarAlwaysOff);
  edit->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded
                                                          : Qt::ScrollBarAlwaysOff);
  bool noWrap = (style & ES_AUTOHSCROLL) && (style & WS_HSCROLL);
  edit->setLineWrapMode(noWrap ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);
  routeScrollBarActions(edit);
  // Paragraphs run left to right unless told otherwise, as in the rich edit. Left on
  // automatic, Qt scans the text of every paragraph it passes for each change (about a
  // hundred per edit at the end of a long pane) to guess a direction.
  QTextOption option = edit->document()->defaultTextOption();
  option.setTextDirection(Qt::LeftToRight);
  edit->document()->setDefaultTextOption(option);
  edit->options = (style & ES_READONLY) ? ECO_READONLY : 0;
  applyReadOnly(edit);
  setTextMode(edit, plain ? TM_PLAINTEXT : TM_RICHTEXT);
  if (cs.lpszName && *cs.lpszName) {
    QTextCursor cursor(edit->document());
    insertBytes(cursor, cs.lpszName, std::strlen(cs.lpszName), QTextCharFormat());
  }
  QObject::connect(edit->document(), &QTextDocument::contentsChange, edit,
                   [edit](int, int removed, int added) {
                     if (edit->settling) return;  // already announced
                     if (removed != added || !edit->formatting) notifyChange(edit);
                   });
  // Keep the marks of stray bytes off what the user types next to them.
  QObject::connect(edit, &QTextEdit::currentCharFormatChanged, edit,
                   [edit](const QTextCharFormat& format) {
                     if (!format.hasProperty(kRawByteProperty) && !format.isAnchor()) return;
                     QTextCharFormat clean = format;
                     clean.clearProperty(kRawByteProperty);
                     clean.setAnchor(false);
                     clean.clearProperty(QTextFormat::AnchorHref);
                     edit->setCurrentCharFormat(clean);
                   });
  return edit;
}

QWidget* createRich(HWND hwnd, const CREATESTRUCTA& cs, QWidget* parent) {
  return makeEdit(hwnd, cs, parent, false);
}
QWidget* createPlain(HWND hwnd, const CREATESTRUCTA& cs, QWidget* parent) {
  RichEditWidget* edit = makeEdit(hwnd, cs, parent, true);
  edit->editClass = true;
  return edit;
}

const ControlClass kRichEdit20{"RichEdit20A", CS_DBLCLKS, richEditProc, createRich};
const ControlClass kRichEdit10{"RICHEDIT", CS_DBLCLKS, richEditProc, createRich};
const ControlClass kEdit{"EDIT", CS_DBLCLKS, richEditProc, createPlain};
const bool registered = registerControlClass(kRichEdit20) && registerControlClass(kRichEdit10) &&
                        registerControlClass(kEdit);

}  // namespace
}  // namespace vornplatform
