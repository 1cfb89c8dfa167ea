#include "plugins/vtraySetup/rt/WinControl.h"

#include <algorithm>

namespace frt {

namespace {

const char* const kWindowClass = "FrtWinControl";

HINSTANCE runtimeInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&runtimeInstance), &module);
  return module;
}

}  // namespace

WinControl::WinControl(Component* owner, WinControl* parent) : Control(owner, parent) {}

WinControl::~WinControl() {
  if (handle_ != nullptr) {
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

void WinControl::removeChild(Control* child) {
  if (mouseControl_ == child) mouseControl_ = nullptr;
  if (captureControl_ == child) captureControl_ = nullptr;
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

bool WinControl::createHandle(HWND parentWindow) {
  WNDCLASSEXA known{};
  HINSTANCE instance = runtimeInstance();
  if (!GetClassInfoExA(instance, kWindowClass, &known)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProcedure;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExA(&wc)) return false;
  }
  if (parentWindow == nullptr && parent()) parentWindow = parent()->handle();
  DWORD style = windowStyle() | (visible ? WS_VISIBLE : 0) | (enabled ? 0 : WS_DISABLED);
  handle_ = CreateWindowExA(0, kWindowClass, caption.c_str(), style, left, top, width, height,
                            parentWindow, nullptr, instance, nullptr);
  if (handle_ == nullptr) return false;
  SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  for (Control* child : children_) {
    WinControl* windowed = dynamic_cast<WinControl*>(child);
    if (windowed && !windowed->createHandle()) return false;
  }
  return true;
}

void WinControl::invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

LRESULT CALLBACK WinControl::windowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WinControl* self = reinterpret_cast<WinControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    self->handleDestroyed();  // may free the object: nothing touches it afterwards
    return 0;
  }
  // The frame first: a skin may draw its own over the whole window.
  if (msg == WM_PAINT) self->perform(WM_NCPAINT, 1, 0);
  return self->perform(msg, wParam, lParam);
}

void WinControl::paintAll() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle_, &ps);
  {
    Canvas canvas(dc);
    paint(canvas);
  }
  for (Control* child : children_)
    if (child->handle() == nullptr && child->visible)
      child->perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  EndPaint(handle_, &ps);
}

void WinControl::trackMouse(const Message& message) {
  if (message.msg == WM_MOUSEMOVE && !mouseInside_) {
    mouseInside_ = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&track);
    perform(CM_MOUSEENTER);
  } else if (message.msg == WM_MOUSELEAVE && mouseInside_) {
    mouseInside_ = false;
    perform(CM_MOUSELEAVE);
  }
}

Control* WinControl::graphicAt(int x, int y) const {
  // The last child painted lies on top.
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    Control* child = *it;
    if (child->handle() != nullptr || !child->visible || !child->enabled) continue;
    if (x >= child->left && x < child->left + child->width && y >= child->top &&
        y < child->top + child->height)
      return child;
  }
  return nullptr;
}

void WinControl::setMouseControl(Control* control) {
  if (control == mouseControl_) return;
  Control* left = mouseControl_;
  mouseControl_ = control;
  if (left) left->perform(CM_MOUSELEAVE);
  if (control) control->perform(CM_MOUSEENTER);
}

bool WinControl::routeToGraphic(Message& message) {
  bool mouse = message.msg >= WM_MOUSEMOVE && message.msg <= WM_MBUTTONDBLCLK;
  if (message.msg == WM_MOUSELEAVE) setMouseControl(nullptr);
  if (!mouse) return false;
  int x = GET_X_LPARAM(message.lParam), y = GET_Y_LPARAM(message.lParam);
  Control* under = graphicAt(x, y);
  setMouseControl(under);
  Control* target = captureControl_ ? captureControl_ : under;
  if (target == nullptr) return false;
  bool down = message.msg == WM_LBUTTONDOWN || message.msg == WM_LBUTTONDBLCLK;
  if (down) captureControl_ = target;
  if (message.msg == WM_LBUTTONUP) captureControl_ = nullptr;
  message.result = target->perform(message.msg, message.wParam,
                                   MAKELPARAM(x - target->left, y - target->top));
  return true;
}

void WinControl::defaultHandler(Message& message) {
  if (message.msg == WM_MOUSEMOVE || message.msg == WM_MOUSELEAVE) trackMouse(message);
  if (routeToGraphic(message)) return;
  switch (message.msg) {
    case WM_PAINT:
      paintAll();
      return;
    case WM_ERASEBKGND:
      message.result = 1;
      return;
    case WM_LBUTTONDOWN:
      if (tabStop) SetFocus(handle_);
      break;
    case WM_KILLFOCUS:
      perform(CM_EXIT);
      break;
    default:
      if (message.msg >= CM_MOUSEENTER && message.msg <= CM_TEXTCHANGED) return;
      break;
  }
  if (handle_) message.result = DefWindowProcA(handle_, message.msg, message.wParam, message.lParam);
}

}  // namespace frt
