#include "lib/Frame.h"

#include "lib/RootWindow.h"

Frame::Frame(const char* name) : WindowContainer(name) {}

const char* Frame::typeName() const { return "frame"; }

void Frame::create() {
  WindowContainer::create();
  groupBox = CreateWindowExA(0, "BUTTON", getName(),
                             WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP | BS_GROUPBOX, 10,
                             10, 0, 0, hwnd, nullptr, getModuleInstance(), nullptr);
  SendMessageA(groupBox, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               TRUE);
}

int Frame::captionHeight() {
  HDC dc = GetDC(groupBox);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  ReleaseDC(groupBox, dc);
  return metrics.tmHeight;
}

void Frame::placeClient(int width, int height) {
  if (!firstChild) return;
  int t = captionHeight();
  firstChild->move(4, t, width - 8, height - t - 4);
}

bool Frame::onSize(int type, int width, int height) {
  MoveWindow(groupBox, 0, 0, width, height, TRUE);
  placeClient(width, height);
  return Window::onSize(type, width, height);
}

void Frame::setClient(Window* window) {
  if (firstChild) firstChild->destroy();
  if (!window) return;
  window->createIn(this);
  placeClient(clientWidth, clientHeight);
}
