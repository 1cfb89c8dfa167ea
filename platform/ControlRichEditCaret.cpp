// The caret of edits and rich edits: hidden while HideCaret calls outnumber ShowCaret calls,
// back when the control gets the focus again.
#include "platform/ControlRichEdit.h"
#include "platform/win32.h"

namespace vornplatform {

void restoreCaret(RichEditWidget* edit) {
  if (edit->caretHidden == 0) return;
  edit->caretHidden = 0;
  edit->setCursorWidth(edit->caretWidth);
}

}  // namespace vornplatform

using namespace vornplatform;

BOOL HideCaret(HWND hwnd) {
  RichEditWidget* edit = richEditOf(hwnd ? hwnd : GetFocus());
  if (!edit) return FALSE;
  if (edit->caretHidden++ == 0) {
    edit->caretWidth = edit->cursorWidth();
    edit->setCursorWidth(0);
  }
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  RichEditWidget* edit = richEditOf(hwnd ? hwnd : GetFocus());
  if (!edit) return FALSE;
  if (edit->caretHidden > 0 && --edit->caretHidden == 0) edit->setCursorWidth(edit->caretWidth);
  return TRUE;
}
