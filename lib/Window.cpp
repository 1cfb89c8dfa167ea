// The window procedure finds the object of a message through the root's registry; the object's
// dispatcher turns the message into one handler call. The window tree lives in the objects.
#include "lib/Window.h"
#include "lib/TextCopy.h"

#include "lib/Composite.h"
#include "lib/RootWindow.h"

#include <cstring>

namespace {

// The buttons held according to a mouse message's key-state flags.
int buttonsOf(WPARAM keyState) {
  int buttons = 0;
  if (keyState & MK_LBUTTON) buttons |= 1;
  if (keyState & MK_RBUTTON) buttons |= 2;
  if (keyState & MK_MBUTTON) buttons |= 4;
  return buttons;
}

int signedLow(LPARAM value) { return static_cast<short>(LOWORD(value)); }
int signedHigh(LPARAM value) { return static_cast<short>(HIWORD(value)); }

bool isKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR;
}

// Which window a message is meant for: a notification names its control.
HWND targetOf(RootWindow* root, HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NOTIFY && lParam) return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
  if (message == WM_COMMAND && lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (root->findWindow(control)) return control;
  }
  return hwnd;
}

}  // namespace

LRESULT CALLBACK toolkitWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  RootWindow* root = getRootWindow();
  if (!root) return DefWindowProcA(hwnd, message, wParam, lParam);
  MSG record = {hwnd, message, wParam, lParam, 0, {0, 0}};
  HWND target = targetOf(root, hwnd, message, lParam);
  Window* window = root->findWindow(target);
  if (window && window->handleMessage(record)) return 0;
  if (isKeyMessage(message)) {
    HWND focus = GetFocus();
    if (focus != target) return toolkitWindowProc(focus, message, wParam, lParam);
  }
  // Looked up again: a handler may have destroyed the window it was called for.
  root = getRootWindow();
  Window* own = root ? root->findWindow(hwnd) : nullptr;
  if (own) return own->defaultProc(record);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

Window::Window(const char* name)
    : left(leftValue),
      top(topValue),
      width(widthValue),
      height(heightValue),
      clientWidth(clientWidthValue),
      clientHeight(clientHeightValue),
      hwnd(nullptr),
      oldWindowProc(nullptr),
      messageHook(nullptr),
      name(copyTextOrEmpty(name)),
      parent(nullptr),
      flags(0),
      captured(0),
      leftValue(0),
      topValue(0),
      widthValue(0),
      heightValue(0),
      clientWidthValue(0),
      clientHeightValue(0),
      refCount(0),
      sizeType(0),
      layoutValue(0),
      nextWindow(nullptr),
      previousWindow(nullptr) {}

Window::~Window() {
  if (isCreated())
    destroy();
  else if (parent)
    detach();  // linked without a platform window: the parent must not keep a dangling child
  delete[] name;
}

const char* Window::getName() { return name; }

Composite* Window::getParent() { return parent; }

void Window::setMessageHook(WindowMessageHook hook) { messageHook = hook; }

void Window::createIn(Composite* container) {
  if (isCreated()) return;
  parent = container;
  create();
  RootWindow* root = getRootWindow();
  if (root) subclass(root->getWindowProc());
  if (parent) appendTo(parent);
  if (hwnd && root) root->registerWindow(this);
  onCreate();
}

bool Window::isCreated() { return hwnd != nullptr; }

HWND Window::getHwnd() { return hwnd; }

void Window::destroy() {
  HWND handle = hwnd;
  if (handle) {
    SendMessageA(handle, WM_CLOSE, 0, 0);
    // A window whose onClose kept it is still destroyed, so no platform window leaks;
    // DestroyWindow brings the same WM_DESTROY as the close's default processing would.
    if (IsWindow(handle)) DestroyWindow(handle);
  }
  detach();
}

void Window::captureMouse() {
  if (captured) return;
  SetCapture(hwnd);
  captured = 1;
}

void Window::releaseMouse() {
  if (!captured) return;
  ReleaseCapture();
  captured = 0;
}

void Window::setFocus() { SetFocus(hwnd); }

bool Window::isVisible() { return flags == 0; }

void Window::show() {
  if (!(flags & HiddenFlag)) return;
  flags &= ~HiddenFlag;
  if (flags != 0) return;
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  setFocus();
  if (parent) parent->onChildVisibility(this);
}

void Window::hide() {
  if (flags & HiddenFlag) return;
  ShowWindow(hwnd, SW_HIDE);
  UpdateWindow(hwnd);
  flags |= HiddenFlag;
  if (parent) parent->onChildVisibility(this);
}

void Window::move(int x, int y, int w, int h) {
  leftValue = x;
  topValue = y;
  widthValue = w;
  heightValue = h;
  MoveWindow(hwnd, x, y, w, h, TRUE);
}

void Window::hideKeep() {
  ShowWindow(hwnd, SW_HIDE);
  UpdateWindow(hwnd);
  flags |= HiddenKeepFlag;
}

void Window::showKeep() {
  flags &= ~HiddenKeepFlag;
  if (flags != 0) return;
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
}

void Window::update() { UpdateWindow(hwnd); }

bool Window::onMessage(const MSG& message) {
  if (!isCreated()) return false;
  WPARAM wParam = message.wParam;
  LPARAM lParam = message.lParam;
  int x = LOWORD(lParam);
  int y = HIWORD(lParam);
  switch (message.message) {
    case WM_CREATE:
      return onCreate();
    case WM_DESTROY:
      return onDestroy();
    case WM_MOVE:
      return onMove(signedLow(lParam), signedHigh(lParam));
    case WM_SIZE: {
      int type =
          (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXIMIZED) ? static_cast<int>(wParam) : 0;
      clientWidthValue = x;
      clientHeightValue = y;
      return onSize(type, signedLow(lParam), signedHigh(lParam));
    }
    case WM_ACTIVATE:
      return onActivate(wParam != 0);
    case WM_PAINT:
      return onPaint();
    case WM_CLOSE:
      return onClose();
    case WM_SHOWWINDOW:
      return onShow(wParam != 0);
    case WM_KEYDOWN:
      if (lParam & (1 << 30)) return false;  // the key is held: only its first press counts
      return onKey(static_cast<int>(wParam), true);
    case WM_KEYUP:
      return onKey(static_cast<int>(wParam), false);
    case WM_CHAR:
      return onChar(static_cast<int>(wParam));
    case WM_COMMAND:
      // A notification routed to the control's own object still names the parent.
      if (message.hwnd == hwnd) return onCommand(LOWORD(wParam));
      return onPaint();
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      return onMouseMove(buttonsOf(wParam), x, y);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      return onMouseButton(buttonsOf(wParam), x, y, true);
    case WM_LBUTTONUP:
      return onMouseButton(1, x, y, false);
    case WM_RBUTTONUP:
      return onMouseButton(2, x, y, false);
    case WM_MBUTTONUP:
      return onMouseButton(4, x, y, false);
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      return onDoubleClick(buttonsOf(wParam), x, y);
    case RequestMessage:
      return true;
    default:
      break;
  }
  return onFrameMouse(message);
}

// The mouse messages of the frame carry screen coordinates; handlers get client ones.
bool Window::onFrameMouse(const MSG& message) {
  UINT code = message.message;
  if (code < WM_NCLBUTTONDOWN || code > WM_NCMBUTTONDBLCLK) return false;
  int index = static_cast<int>(code - WM_NCLBUTTONDOWN);
  int button = 1 << (index / 3);
  int kind = index % 3;  // 0 down, 1 up, 2 double click
  POINT point = {signedLow(message.lParam), signedHigh(message.lParam)};
  ScreenToClient(hwnd, &point);
  if (kind == 2) return onDoubleClick(button, point.x, point.y);
  return onMouseButton(button, point.x, point.y, kind == 0);
}

bool Window::onCreate() { return false; }

bool Window::onClose() { return false; }

bool Window::onCommand(int) { return false; }

bool Window::onDestroy() {
  detach();
  hwnd = nullptr;
  return false;
}

bool Window::onPaint() { return false; }

bool Window::onActivate(bool) { return false; }

bool Window::onShow(bool) { return false; }

bool Window::onMove(int, int) { return false; }

bool Window::onSize(int type, int, int) {
  sizeType = type;
  return false;
}

bool Window::onChar(int) { return false; }

bool Window::onKey(int, bool) { return false; }

bool Window::onMouseMove(int, int, int) { return false; }

bool Window::onMouseButton(int, int, int, bool) { return false; }

bool Window::onDoubleClick(int, int, int) { return false; }

bool Window::handleMessage(const MSG& message) {
  if (messageHook && messageHook(this, message)) return true;
  return onMessage(message);
}

LRESULT Window::defaultProc(const MSG& message) {
  if (oldWindowProc)
    return CallWindowProcA(oldWindowProc, message.hwnd, message.message, message.wParam,
                           message.lParam);
  return DefWindowProcA(message.hwnd, message.message, message.wParam, message.lParam);
}

Window* Window::nextSibling() { return nextWindow; }

Window* Window::previousSibling() { return previousWindow; }

Window* Window::addRef() {
  ++refCount;
  return this;
}

int Window::release() {
  int count = --refCount;
  if (count == 0) delete this;
  return count;
}

void Window::subclass(WNDPROC procedure) {
  if (!hwnd) return;
  if (!oldWindowProc) {
    WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongA(hwnd, GWL_WNDPROC));
    if (current == procedure) return;
    oldWindowProc = current;
  }
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

void Window::detach() {
  if (hwnd) {
    RootWindow* root = getRootWindow();
    if (root) root->unregisterWindow(this);
    if (oldWindowProc) SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(oldWindowProc));
  }
  // A later window of this object starts from its own class procedure.
  oldWindowProc = nullptr;
  unlink();
  hwnd = nullptr;
}

void Window::appendTo(Composite* container) {
  previousWindow = container->lastChild;
  nextWindow = nullptr;
  if (container->lastChild)
    container->lastChild->nextWindow = this;
  else
    container->firstChild = this;
  container->lastChild = this;
}

void Window::unlink() {
  if (previousWindow) previousWindow->nextWindow = nextWindow;
  if (nextWindow) nextWindow->previousWindow = previousWindow;
  Composite* container = parent;
  if (container) {
    if (container->firstChild == this) container->firstChild = nextWindow;
    if (container->lastChild == this) container->lastChild = previousWindow;
  }
  // The container is told while the child still knows its former neighbours: it may need
  // them to find the place the child held (the child itself is already out of the list).
  if (container) container->onChildRemoved(this);
  nextWindow = nullptr;
  previousWindow = nullptr;
  parent = nullptr;
}
