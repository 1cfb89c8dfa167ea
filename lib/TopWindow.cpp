// Top-level windows: TopWindow, resizable with a minimum size and edges that snap to the
// screen while dragged, and FixedWindow, the same without a sizing border or boxes.
#include "lib/TopWindow.h"

#include "lib/RootWindow.h"

namespace {

const DWORD kTopStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
const DWORD kFixedStyle = WS_SYSMENU | WS_CLIPCHILDREN;

RECT workArea() {
  RECT area = {0, 0, 0, 0};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// Wide arithmetic: a proposed rectangle is outside input and may hold any values.
bool withinForce(long long distance, int force) {
  return distance != 0 && -force < distance && distance < force;
}

}  // namespace

TopWindow::TopWindow(const char* name, int left, int top, int width, int height, bool toolWindow)
    : WindowContainer(name),
      toolWindow(toolWindow ? 1 : 0),
      flag(0),
      minWidth(0),
      minHeight(0),
      magneticForce(10) {
  leftValue = left;
  topValue = top;
  widthValue = width;
  heightValue = height;
  clampToWorkArea();
}

TopWindow::TopWindow(const char* name, int width, int height, bool toolWindow)
    : TopWindow(name, CW_USEDEFAULT, CW_USEDEFAULT, width, height, toolWindow) {}

void TopWindow::clampToWorkArea() {
  RECT area = workArea();
  if (leftValue >= area.right) {
    leftValue = area.right - widthValue;
  }
  if (topValue >= area.bottom) {
    topValue = area.bottom - heightValue;
  }
}

const char* TopWindow::typeName() const { return "window"; }

void TopWindow::move(int left, int top, int width, int height) {
  WindowContainer::move(left, top, width < minWidth ? minWidth : width,
                        height < minHeight ? minHeight : height);
}

bool TopWindow::onMessage(const MSG& message) {
  if (message.hwnd == hwnd && hwnd != nullptr) {
    if (message.message == WM_MOVING) {
      return onMoving(reinterpret_cast<RECT*>(message.lParam));
    }
    if (message.message == WM_SIZING) {
      return onSizing(static_cast<int>(message.wParam), reinterpret_cast<RECT*>(message.lParam));
    }
  }
  return WindowContainer::onMessage(message);
}

void TopWindow::create() { createWithStyle(kTopStyle); }

void TopWindow::createWithStyle(DWORD style) {
  DWORD exStyle = WS_EX_WINDOWEDGE | (toolWindow ? WS_EX_TOOLWINDOW : 0);
  HWND parentHwnd = getParent() != nullptr ? getParent()->getHwnd() : nullptr;
  hwnd = CreateWindowExA(exStyle, "BlackHoleWindow", getName(), style, left, top, width, height,
                         parentHwnd, nullptr, getModuleInstance(), nullptr);
  hide();
}

void TopWindow::setMinimumSize(int width, int height) {
  minWidth = width;
  minHeight = height;
}

void TopWindow::minimize() {
  ShowWindow(hwnd, SW_MINIMIZE);
  UpdateWindow(hwnd);
}

void TopWindow::maximize() {
  ShowWindow(hwnd, SW_MAXIMIZE);
  UpdateWindow(hwnd);
}

void TopWindow::restore() {
  ShowWindow(hwnd, SW_RESTORE);
  UpdateWindow(hwnd);
}

void TopWindow::setTopmost(bool on) {
  RECT rect = {0, 0, 0, 0};
  GetWindowRect(hwnd, &rect);
  SetWindowPos(hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, rect.left, rect.top,
               rect.right - rect.left, rect.bottom - rect.top, 0);
}

void TopWindow::setFlag(bool on) { flag = on ? 1 : 0; }

bool TopWindow::onMoving(RECT* rect) {
  if (rect != nullptr) {
    snapToEdges(rect, workArea(), magneticForce);
  }
  return true;
}

bool TopWindow::onSizing(int edge, RECT* rect) {
  if (rect != nullptr) {
    keepMinimumSize(edge, rect, minWidth, minHeight);
  }
  return true;
}

void TopWindow::setMagneticForce(int pixels) { magneticForce = pixels; }

void TopWindow::reserved(int, int, int, int) {}

void TopWindow::snapToEdges(RECT* rect, const RECT& workArea, int force) {
  // Both distances belong to the rectangle as the user proposed it.
  long long dx = static_cast<long long>(workArea.right) - rect->right;
  long long dy = static_cast<long long>(workArea.bottom) - rect->bottom;
  if (withinForce(rect->left, force)) {
    rect->right -= rect->left;
    rect->left = 0;
  }
  if (withinForce(rect->top, force)) {
    rect->bottom -= rect->top;
    rect->top = 0;
  }
  if (withinForce(dx, force)) {
    rect->left += static_cast<LONG>(dx);
    rect->right += static_cast<LONG>(dx);
  }
  if (withinForce(dy, force)) {
    rect->top += static_cast<LONG>(dy);
    rect->bottom += static_cast<LONG>(dy);
  }
}

void TopWindow::keepMinimumSize(int edge, RECT* rect, int minWidth, int minHeight) {
  if (static_cast<long long>(rect->right) - rect->left < minWidth) {
    if (edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT) {
      rect->right = rect->left + minWidth;
    } else {
      rect->left = rect->right - minWidth;
    }
  }
  if (static_cast<long long>(rect->bottom) - rect->top < minHeight) {
    if (edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT) {
      rect->bottom = rect->top + minHeight;
    } else {
      rect->top = rect->bottom - minHeight;
    }
  }
}

FixedWindow::FixedWindow(const char* name, int width, int height, bool toolWindow)
    : TopWindow(name, width, height, toolWindow) {}

const char* FixedWindow::typeName() const { return "fixedwindow"; }

void FixedWindow::create() { createWithStyle(kFixedStyle); }
