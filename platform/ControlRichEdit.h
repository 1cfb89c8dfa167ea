// The rich-edit control ("RichEdit20A", "RICHEDIT", and "EDIT" in plain mode) over a
// QTextEdit: its state and the helpers its message handlers share. Internal to platform/.
#pragma once

#include <QHash>
#include <QTextCharFormat>
#include <QTextEdit>
#include <string>

#include "platform/ControlRichEditPositions.h"
#include "platform/win32_richedit.h"

namespace vornplatform {

class RichEditOle;

class RichEditWidget : public QTextEdit {
 public:
  RichEditWidget(HWND hwnd, QWidget* parent);
  ~RichEditWidget() override;

  // The control's selection. These hide QTextEdit's own pair on purpose: the widget's cursor
  // follows the selection only when the widget needs it (input, painting, scrolling to the
  // caret), since moving it makes Qt lay the paragraph out and scroll it into view, which a
  // pane that appends output many times a second must not pay for each time.
  // Code outside the control's messages (pictures) also gets a settled document.
  QTextCursor textCursor() {
    settle();
    return selection_;
  }
  void setTextCursor(const QTextCursor& cursor);
  const QTextCursor& selection() const { return selection_; }
  // Brings the widget's cursor to the selection; the view stays where it is.
  void showSelection();

  // Programmatic changes run inside one open edit block of the document, so Qt neither lays
  // the changed paragraphs out after each message nor places cursors on laid-out lines; the
  // block closes (settle) before anything needs the layout and when the event loop turns.
  // The layer sends the change notifications of these edits itself.
  void deferLayout();
  bool layoutDeferred() const { return deferred_; }
  void markEdited() { modified_ = true; }
  void settle();
  bool settling = false;  // the held-back changes are being announced by Qt

  // EM_SETMODIFY / EM_GETMODIFY: recorded while changes are held back, applied by settle.
  void setModifiedFlag(bool modified);
  bool modifiedFlag() const;
  // Scrolling to the end (WM_VSCROLL SB_BOTTOM, or EM_SCROLLCARET with the caret at the end)
  // while changes are held back waits for the layout, so a burst of appends scrolls once.
  // False when the control must scroll now.
  bool deferScrollToEnd();
  bool deferCaretScroll();
  // A held-back change is about to start at the position: a waiting scroll it could shift is
  // made first.
  void beforeChangeAt(int position);

  HWND hwnd;
  RichEditPositions* positions;
  QTextCharFormat insertFormat;  // what the next EM_REPLACESEL writes with
  bool plainText = false;
  bool editClass = false;  // made as "EDIT": packed points in EM_CHARFROMPOS
  int caretHidden = 0;     // HideCaret calls not yet undone by ShowCaret
  int caretWidth = 1;      // the caret's width while it shows
  bool autoColour = true;  // the default format's text colour is the system's
  bool autoUrlDetect = false;
  bool formatting = false;  // a format change is running: no EN_CHANGE
  DWORD eventMask = 0;
  DWORD options = 0;
  long long limit = 32767;
  RichEditOle* ole = nullptr;
  QHash<size_t, QString> pictureNames;  // resource names of the pictures by their pixels
  int wheelRest = 0;                    // wheel delta short of a notch, kept for the next turn
  bool scrollingByMessage = false;      // the class procedure works the scroll bar
  int thumbTrack = -1;                  // the thumb's whole position while its WM_VSCROLL is sent
  int lastThumb = -1;                   // where the dragged thumb was last asked to go

 protected:
  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  bool handleEvent(QEvent* e, bool onViewport);
  void followWidgetCursor();
  void queueCatchUp();
  void scrollAsAsked();
  void scrollToMark(const QTextCursor& mark);
  void showMarkedCaret(const QTextCursor& mark);

  QTextCursor selection_;
  bool stale_ = false;        // the widget's cursor is not at the selection
  bool showPending_ = false;  // a deferred showSelection is queued
  int inputDepth_ = 0;        // Qt is handling an event: cursor moves come from the user
  QTextCursor held_;          // holds the open edit block
  bool deferred_ = false;
  bool modified_ = false;  // the modified flag while changes are held back
  // Where the text ended when scrolling to the end was asked (null: not asked); stays there
  // when text is appended after it.
  QTextCursor bottomMark_;
  QTextCursor caretMark_;
  bool caretAskedLast_ = false;
};

// The control of a window, settled (see RichEditWidget::deferLayout).
RichEditWidget* richEditOf(HWND hwnd);

// EN_UPDATE and EN_CHANGE to the parent for a held-back change, as the event mask asks.
void notifyHeldChange(RichEditWidget* edit);

// Keeps the view where it is while the text or the selection changes under it.
class ScrollKeeper {
 public:
  explicit ScrollKeeper(QTextEdit* edit);
  ~ScrollKeeper();

 private:
  QTextEdit* edit_;
  int vertical_;
  int horizontal_;
};

// Selection in byte offsets.
void selectBytes(RichEditWidget* edit, long long start, long long end);
void selectionBytes(RichEditWidget* edit, long long* start, long long* end);
// EM_SETSEL's rules for (start, end).
void setSelectionByRules(RichEditWidget* edit, long long start, long long end);
// Replaces the selection with 8-bit text (paragraph marks as given); the caret follows it.
void replaceSelection(RichEditWidget* edit, const char* text, size_t length);

// Character formats.
void setCharFormat(RichEditWidget* edit, WPARAM which, const CHARFORMAT2A& format);
void getCharFormat(RichEditWidget* edit, WPARAM which, CHARFORMAT2A* format);
// EM_SETCHARFORMAT / EM_GETCHARFORMAT with the record lParam points to: a CHARFORMATA when its
// cbSize says so (only its fields are read or written), a CHARFORMAT2A otherwise.
LRESULT setCharFormatRecord(RichEditWidget* edit, WPARAM which, LPARAM record);
LRESULT getCharFormatRecord(RichEditWidget* edit, WPARAM which, LPARAM record);
// The look of a piece of text (all attributes in the mask), defaults filled in.
void describeFormat(RichEditWidget* edit, const QTextCharFormat& format, CHARFORMAT2A* out);
COLORREF setBackgroundColour(RichEditWidget* edit, bool useSystem, COLORREF colour);

// The caret comes back (a control that gets the focus makes its caret anew).
void restoreCaret(RichEditWidget* edit);

// Display lines and scrolling.
LRESULT handleLineMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam,
                          bool* handled);
LRESULT handleScrollMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam,
                            bool* handled);
// The user's actions on the vertical scroll bar reach the window procedure as WM_VSCROLL.
void routeScrollBarActions(RichEditWidget* edit);
LONG charFromClientPoint(RichEditWidget* edit, int x, int y);

// Links: marks links in [from, to) (document positions) when detection is on; answers a left
// press over a link with EN_LINK (true when the parent swallowed it).
void detectLinks(RichEditWidget* edit, int from, int to);
bool notifyLinkPress(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam);
bool linkRangeAt(RichEditWidget* edit, int position, int* from, int* to);
// The length of the address that may be opened starting at text[at] (at a word start), or 0.
int linkLengthAt(const QString& text, int at);

// The standard menu of an "EDIT" control, at a point on the screen (both -1: at the caret).
void showEditMenu(RichEditWidget* edit, LPARAM where);

// WM_COPY, WM_CUT, WM_PASTE and the keys that stand for them.
LRESULT handleClipboardMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, bool* handled);

// Word breaks over the whole text (bytes, paragraph marks as "\r").
LRESULT findWordBreak(RichEditWidget* edit, int code, long long position);

// OLE: the control's IRichEditOle (with an added reference), and picture insertion.
IRichEditOle* richEditOleOf(RichEditWidget* edit);
void releaseRichEditOle(RichEditWidget* edit);
bool insertPictureAtSelection(RichEditWidget* edit, const QImage& image);

}  // namespace vornplatform
