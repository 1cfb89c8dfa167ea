// The window manager's minimise and restore of a top-level window reach its procedure as
// Win32 reports a click on the minimise box: WM_SYSCOMMAND SC_MINIMIZE first (the focus is
// still where it was), then WM_SIZE SIZE_MINIMIZED; a restore sends WM_SIZE again.
#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"
#include "platform/testing_shell.h"
#include "platform/win32.h"

namespace vornplatform {

void minimizedFromQt(HWND hwnd, bool minimized) {
  WindowPtr w = findWindow(hwnd);
  if (!w || w->dying || w->parent || minimized == w->minimized) return;
  if (minimized) {
    callProcedure(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    w = findWindow(hwnd);
    if (!w || w->dying || w->minimized) return;  // the procedure minimised it itself
    w->minimized = true;
    callProcedure(hwnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(w->clientWidth, w->clientHeight));
    return;
  }
  w->minimized = false;
  WPARAM type = w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
  callProcedure(hwnd, WM_SIZE, type, MAKELPARAM(w->clientWidth, w->clientHeight));
}

}  // namespace vornplatform

namespace vorntest {

bool minimizeByWindowManager(HWND hwnd) {
  vornplatform::WindowPtr w = vornplatform::findWindow(hwnd);
  if (!w || w->dying || w->parent || !w->frame) return false;
  w->frame->setWindowState(w->frame->windowState() | Qt::WindowMinimized);
  return true;
}

bool maximizeByWindowManager(HWND hwnd, bool maximize) {
  vornplatform::WindowPtr w = vornplatform::findWindow(hwnd);
  if (!w || w->dying || w->parent || !w->frame) return false;
  Qt::WindowStates state = w->frame->windowState();
  w->frame->setWindowState(maximize ? state | Qt::WindowMaximized : state & ~Qt::WindowMaximized);
  return true;
}

}  // namespace vorntest
