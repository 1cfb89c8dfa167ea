// Shared behaviour of system controls: default processing and notifications to the parent.
#include "platform/ControlClass.h"

#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"

namespace vornplatform {

LRESULT controlDefaultProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowPtr w = findWindow(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_SETFONT: {
      w->font = reinterpret_cast<HFONT>(wParam);
      QFont font;
      if (w->client && fontOfHandle(w->font, &font)) w->client->setFont(font);
      return 0;
    }
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

LRESULT sendCommandToParent(HWND control, WORD code) {
  WindowPtr w = findWindow(control);
  if (!w || !w->parent) return 0;
  WPARAM wParam = MAKEWPARAM(static_cast<WORD>(w->id), code);
  return SendMessageA(w->parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control));
}

LRESULT sendNotifyToParent(HWND control, NMHDR* header) {
  WindowPtr w = findWindow(control);
  if (!w || !w->parent || !header) return 0;
  header->hwndFrom = control;
  header->idFrom = static_cast<UINT_PTR>(w->id);
  return SendMessageA(w->parent, WM_NOTIFY, static_cast<WPARAM>(w->id),
                      reinterpret_cast<LPARAM>(header));
}

}  // namespace vornplatform
