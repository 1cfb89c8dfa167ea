// Test hooks for rich edits: read the text as a person sees it (runs of equal formatting),
// click a link, scroll, and ask whether the view shows the end.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace vorntest {

// A stretch of text with one look. text holds the control's bytes (UTF-8 for what was
// valid UTF-8); a paragraph mark reads as "\r" and a picture as " " in a run of its own.
struct RichTextRun {
  std::string text;
  COLORREF colour = 0;      // the text colour as drawn
  COLORREF background = 0;  // meaningful only when hasBackground
  bool hasBackground = false;
  std::string face;
  int pointSize = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool link = false;     // marked by link detection
  bool picture = false;  // an inserted picture
};

// The runs of a rich edit from start to end (adjacent runs differ); empty for another window.
VORNAPI std::vector<RichTextRun> richEditRuns(HWND richEdit);
// Clicks button (1 left, 2 right; through the real mouse path) the character at byte position pos;
// false when pos is outside the text or the window is not a rich edit. The view scrolls to show it
// first.
VORNAPI bool clickRichEditAt(HWND richEdit, int pos, int button = 1);
// Moves the view to the top or the bottom, as dragging the scroll bar would.
VORNAPI bool scrollRichEditToTop(HWND richEdit);
VORNAPI bool scrollRichEditToBottom(HWND richEdit);
// Where a person grabs the vertical scroll bar's thumb, in client coordinates; false when
// the bar is not shown.
VORNAPI bool richEditThumbCentre(HWND richEdit, POINT* centre);
// Whether the view shows the last line (the vertical scroll bar is at its maximum).
VORNAPI bool richEditAtEnd(HWND richEdit);

}  // namespace vorntest
