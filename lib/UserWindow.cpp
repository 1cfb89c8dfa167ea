#include "lib/UserWindow.h"

#include "lib/RootWindow.h"

UserWindow::UserWindow(const char* name) : WindowContainer(name) {}

const char* UserWindow::typeName() const { return "userwindow"; }

void UserWindow::create() {
  // Without a callback there is nothing to make; the window stays uncreated.
  if (!createCallback) return;
  Window* owner = getParent();
  hwnd = createCallback(getModuleInstance(), owner ? owner->getHwnd() : nullptr);
}

bool UserWindow::onMessage(const MSG&) {
  if (getRootWindow()) getRootWindow()->unregisterWindow(this);
  return false;
}

void UserWindow::setClient(Window*) {}

void UserWindow::setCreateCallback(CreateCallback callback) { createCallback = callback; }

HWND UserWindow::releaseWindow() {
  if (hwnd) {
    if (getRootWindow()) getRootWindow()->unregisterWindow(this);
    if (oldWindowProc) SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(oldWindowProc));
  }
  return getHwnd();
}
