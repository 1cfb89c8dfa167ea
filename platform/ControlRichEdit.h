// The rich-edit control ("RichEdit20A", "RICHEDIT", and "EDIT" in plain mode) over a
// QTextEdit: its state and the helpers its message handlers share. Internal to platform/.
#pragma once

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

  HWND hwnd;
  RichEditPositions* positions;
  QTextCharFormat insertFormat;  // what the next EM_REPLACESEL writes with
  bool plainText = false;
  bool autoUrlDetect = false;
  bool formatting = false;  // a format change is running: no EN_CHANGE
  DWORD eventMask = 0;
  DWORD options = 0;
  long long limit = 32767;
  RichEditOle* ole = nullptr;
};

RichEditWidget* richEditOf(HWND hwnd);

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
// The look of a piece of text (all attributes in the mask), defaults filled in.
void describeFormat(RichEditWidget* edit, const QTextCharFormat& format, CHARFORMAT2A* out);
COLORREF setBackgroundColour(RichEditWidget* edit, bool useSystem, COLORREF colour);

// Display lines and scrolling.
LRESULT handleLineMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam,
                          bool* handled);
LRESULT handleScrollMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam,
                            bool* handled);
LONG charFromClientPoint(RichEditWidget* edit, int x, int y);

// Links: marks links in [from, to) (document positions) when detection is on; answers a left
// press over a link with EN_LINK (true when the parent swallowed it).
void detectLinks(RichEditWidget* edit, int from, int to);
bool notifyLinkPress(RichEditWidget* edit, UINT msg, WPARAM wParam, LPARAM lParam);
bool linkRangeAt(RichEditWidget* edit, int position, int* from, int* to);
// The length of the address that may be opened starting at text[at] (at a word start), or 0.
int linkLengthAt(const QString& text, int at);

// Word breaks over the whole text (bytes, paragraph marks as "\r").
LRESULT findWordBreak(RichEditWidget* edit, int code, long long position);

// OLE: the control's IRichEditOle (with an added reference), and picture insertion.
IRichEditOle* richEditOleOf(RichEditWidget* edit);
void releaseRichEditOle(RichEditWidget* edit);
bool insertPictureAtSelection(RichEditWidget* edit, const QImage& image);

}  // namespace vornplatform
