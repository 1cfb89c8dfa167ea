#include "lib/ExistWindow.h"

#include "lib/RootWindow.h"

ExistWindow::ExistWindow(HWND existing)
    : WindowContainer("Exist Window"),
      existingProc(reinterpret_cast<WNDPROC>(GetWindowLongA(existing, GWL_WNDPROC))) {
  hwnd = existing;
  RootWindow* root = getRootWindow();
  if (root) {
    root->registerWindow(this);
    subclass(root->getWindowProc());
  }
  RECT client = {};
  GetClientRect(existing, &client);
  clientWidthValue = client.right - client.left;
  clientHeightValue = client.bottom - client.top;
}

ExistWindow::~ExistWindow() {
  if (hwnd && existingProc)
    SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(existingProc));
}

const char* ExistWindow::typeName() const { return "Exist Window"; }
