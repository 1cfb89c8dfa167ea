// Qt input into Win32 messages: the mouse through the window procedures, the key state,
// focus, capture and cursors. A control's widget acts on an event only when its message
// reached the class procedure.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <map>
#include <mutex>
#include <set>

#include "platform/Handles.h"
#include "platform/InputDelivery.h"
#include "platform/KeyboardMenu.h"
#include "platform/ModuleIcons.h"
#include "platform/QtWindowWidgets.h"
#include "platform/TextCodec.h"
#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"
#include "platform/win32_threads.h"

namespace vornplatform {
namespace {

// One input message on its way through the procedure chain.
struct Delivery {
  HWND hwnd;
  UINT msg;
  HWND reached;  // the window whose class procedure it reached
  Delivery* outer;
};
Delivery* currentDelivery = nullptr;

// The event being handed to a widget after its message reached the class procedure; Qt may
// propagate it (or a copy) to the ancestors, which must not translate it again.
struct PassThrough {
  QObject* origin = nullptr;
  QEvent::Type type = QEvent::None;
};
PassThrough passThrough;

HWND focusHwnd = nullptr;
HWND captureHwnd = nullptr;
HWND lastMouseHwnd = nullptr;
POINT lastCursor{0, 0};
bool cursorKnown = false;

// Windows waiting for WM_MOUSELEAVE, and the window the mouse is over (null once it left the
// last one).
std::mutex leaveLock;
std::set<HWND> leaveTracked;
HWND hoverHwnd = nullptr;

// The mouse is over hwnd now (null: over none of ours): every other tracked window was left.
void noteMouseOver(HWND hwnd) {
  std::lock_guard<std::mutex> guard(leaveLock);
  hoverHwnd = hwnd;
  for (auto it = leaveTracked.begin(); it != leaveTracked.end();) {
    if (*it == hwnd) {
      ++it;
      continue;
    }
    PostMessageA(*it, WM_MOUSELEAVE, 0, 0);
    it = leaveTracked.erase(it);
  }
}

std::mutex keyLock;
SHORT keyStates[256];
std::map<int, SHORT> keyOverrides;

void noteButtons(Qt::MouseButtons b) {
  setKeyDown(VK_LBUTTON, b & Qt::LeftButton);
  setKeyDown(VK_RBUTTON, b & Qt::RightButton);
  setKeyDown(VK_MBUTTON, b & Qt::MiddleButton);
}

bool isPassingThrough(QObject* watched, QEvent* e) {
  if (!passThrough.origin || e->type() != passThrough.type) return false;
  for (QObject* o = passThrough.origin; o; o = o->parent()) {
    if (o == watched) return true;
  }
  return false;
}

// Qt's leave of a window's own widget (not of a viewport inside it) leaves the client area.
void noteMouseLeft(QObject* watched) {
  HWND hwnd = hwndOfObject(watched);
  WindowPtr w = findWindow(hwnd);
  if (!w || w->client != watched) return;
  bool over;
  {
    std::lock_guard<std::mutex> guard(leaveLock);
    over = hoverHwnd == hwnd;
  }
  if (over) noteMouseOver(nullptr);
}

WPARAM mouseKeyFlags(Qt::MouseButtons b, Qt::KeyboardModifiers m) {
  WPARAM flags = 0;
  if (b & Qt::LeftButton) flags |= MK_LBUTTON;
  if (b & Qt::RightButton) flags |= MK_RBUTTON;
  if (b & Qt::MiddleButton) flags |= MK_MBUTTON;
  if (m & Qt::ShiftModifier) flags |= MK_SHIFT;
  if (m & Qt::ControlModifier) flags |= MK_CONTROL;
  return flags;
}

UINT mouseMessage(QEvent::Type type, Qt::MouseButton button, bool doubleClicks) {
  int base;
  switch (button) {
    case Qt::LeftButton:
      base = WM_LBUTTONDOWN;
      break;
    case Qt::RightButton:
      base = WM_RBUTTONDOWN;
      break;
    case Qt::MiddleButton:
      base = WM_MBUTTONDOWN;
      break;
    default:
      return 0;
  }
  if (type == QEvent::MouseButtonRelease) return base + 1;
  if (type == QEvent::MouseButtonDblClick && doubleClicks) return base + 2;
  return base;
}

bool handleMouse(QObject* watched, QMouseEvent* e) {
  HWND hwnd = hwndOfObject(watched);
  WindowPtr w = findWindow(hwnd);
  if (!w || !w->client) return false;
  QPoint local = e->position().toPoint();
  auto* widget = static_cast<QWidget*>(watched);
  if (widget != w->client) local = widget->mapTo(w->client, local);
  POINT origin = clientOriginOnScreen(*w);
  lastCursor = POINT{origin.x + local.x(), origin.y + local.y()};
  cursorKnown = true;
  lastMouseHwnd = hwnd;
  noteMouseOver(hwnd);
  noteModifiers(e->modifiers());
  noteButtons(e->buttons());

  HWND target = captureHwnd && IsWindow(captureHwnd) ? captureHwnd : hwnd;
  WindowPtr t = findWindow(target);
  POINT targetOrigin = clientOriginOnScreen(*t);
  int x = lastCursor.x - targetOrigin.x, y = lastCursor.y - targetOrigin.y;
  UINT msg = WM_MOUSEMOVE;
  if (e->type() != QEvent::MouseMove) {
    bool doubleClicks = (t->windowClass->info.style & CS_DBLCLKS) != 0;
    msg = mouseMessage(e->type(), e->button(), doubleClicks);
    if (!msg) return false;
  }
  noteInputMessage(lastCursor);
  HWND reached =
      deliverInput(target, msg, mouseKeyFlags(e->buttons(), e->modifiers()), MAKELPARAM(x, y));
  e->accept();
  if (reached == hwnd && IsWindow(hwnd) && isControl(hwnd)) passToWidget(watched, e);
  return true;
}

// The wheel reaches the window under the mouse (as desktops scroll what the pointer is over)
// as WM_MOUSEWHEEL: the signed delta (120 a notch) over the key flags, the point on the screen.
bool handleWheel(QObject* watched, QWheelEvent* e) {
  HWND hwnd = hwndOfObject(watched);
  WindowPtr w = findWindow(hwnd);
  int delta = std::clamp(e->angleDelta().y(), -32768, 32767);
  if (!w || !w->client || delta == 0) return false;
  QPoint local = e->position().toPoint();
  auto* widget = static_cast<QWidget*>(watched);
  if (widget != w->client) local = widget->mapTo(w->client, local);
  POINT origin = clientOriginOnScreen(*w);
  POINT screen{origin.x + local.x(), origin.y + local.y()};
  noteModifiers(e->modifiers());
  noteButtons(e->buttons());
  noteInputMessage(screen);
  WPARAM wParam = MAKEWPARAM(mouseKeyFlags(e->buttons(), e->modifiers()), static_cast<WORD>(delta));
  HWND reached = deliverInput(hwnd, WM_MOUSEWHEEL, wParam, MAKELPARAM(screen.x, screen.y));
  e->accept();
  if (reached == hwnd && IsWindow(hwnd) && isControl(hwnd)) passToWidget(watched, e);
  return true;
}

HWND frameHwndOf(QObject* o) {
  QVariant v = o->property("vornFrame");
  return v.isValid() ? handleOf(v.toUInt()) : nullptr;
}

bool handleKey(QObject* watched, QKeyEvent* e) {
  if (HWND own = hwndOfObject(watched)) return keyEventToMessages(own, e, e->spontaneous());
  // What reaches a top-level window's frame is keyboard input no widget of ours had (Qt's menu
  // bar passes on the keys it does not use).
  HWND frame = frameHwndOf(watched);
  return IsWindow(frame) && keyEventToMessages(frame, e, true);
}

// Qt moves its focus on its own now and then (a window activated, a focused widget hidden):
// the program's choice stands, and Qt's focus goes back to its widget once Qt is done.
bool focusSyncQueued = false;

void showFocusInQt() {
  focusSyncQueued = false;
  QWidget* widget = clientWidgetOf(focusHwnd);
  if (widget && widget != QApplication::focusWidget() && widget->isVisible())
    widget->setFocus(Qt::OtherFocusReason);
}

void noteQtFocus(QObject* watched) {
  HWND hwnd = hwndOfObject(watched);
  if (!hwnd || hwnd == focusHwnd || !focusHwnd || focusSyncQueued) return;
  focusSyncQueued = true;
  QMetaObject::invokeMethod(qApp, &showFocusInQt, Qt::QueuedConnection);
}

// Routes the input of every window widget (and scroll-area viewport) into messages.
class InputFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (isPassingThrough(watched, e)) return false;
    switch (e->type()) {
      case QEvent::MouseMove:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
        if (e->type() != QEvent::MouseButtonRelease) noteKeyPressed(0);  // a click ends "Alt alone"
        return handleMouse(watched, static_cast<QMouseEvent*>(e));
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        return handleKey(watched, static_cast<QKeyEvent*>(e));
      case QEvent::Wheel:
        return handleWheel(watched, static_cast<QWheelEvent*>(e));
      case QEvent::FocusIn:
        noteQtFocus(watched);
        return false;
      case QEvent::Leave:
        noteMouseLeft(watched);
        return false;
      case QEvent::ContextMenu:
        return true;  // menus come from WM_CONTEXTMENU, as the window procedures decide
      default:
        return false;
    }
  }
};

InputFilter* inputFilter() {
  static InputFilter* instance = new InputFilter;
  return instance;
}

// Cursors by resource number.
struct CursorEntry {
  int id;
  Qt::CursorShape shape;
};
const CursorEntry kCursors[] = {
    {32512, Qt::ArrowCursor},        {32513, Qt::IBeamCursor},     {32514, Qt::WaitCursor},
    {32515, Qt::CrossCursor},        {32642, Qt::SizeFDiagCursor}, {32643, Qt::SizeBDiagCursor},
    {32644, Qt::SizeHorCursor},      {32645, Qt::SizeVerCursor},   {32646, Qt::SizeAllCursor},
    {32649, Qt::PointingHandCursor},
};
std::mutex resourceLock;
std::map<int, HCURSOR> cursorHandles;
std::map<uintptr_t, Qt::CursorShape> cursorShapes;
std::map<int, HICON> iconHandles;
HCURSOR currentCursor = nullptr;

}  // namespace

void setKeyDown(int vk, bool down) {
  if (vk <= 0 || vk > 255) return;
  std::lock_guard<std::mutex> guard(keyLock);
  keyStates[vk] = down ? static_cast<SHORT>(0x8000) : 0;
}

void noteModifiers(Qt::KeyboardModifiers m) {
  bool shift = m & Qt::ShiftModifier, ctrl = m & Qt::ControlModifier, alt = m & Qt::AltModifier;
  setKeyDown(VK_SHIFT, shift), setKeyDown(VK_LSHIFT, shift);
  setKeyDown(VK_CONTROL, ctrl), setKeyDown(VK_LCONTROL, ctrl);
  setKeyDown(VK_MENU, alt), setKeyDown(VK_LMENU, alt);
}

void noteInputMessage(POINT screenPoint) {
  setMessagePos(screenPoint);
  setMessageTime(GetTickCount());
}

HWND deliverInput(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Delivery d{hwnd, msg, nullptr, currentDelivery};
  currentDelivery = &d;
  callProcedure(hwnd, msg, wParam, lParam);
  currentDelivery = d.outer;
  return d.reached;
}

void passToWidget(QObject* widget, QEvent* e) {
  PassThrough saved = passThrough;
  passThrough = PassThrough{widget, e->type()};
  QCoreApplication::sendEvent(widget, e);
  passThrough = saved;
  e->accept();  // left unaccepted, Qt would carry it on to the parent widgets
}

HWND hwndOfObject(QObject* o) {
  QVariant v = o->property("vornHwnd");
  if (!v.isValid()) return nullptr;
  HWND hwnd = handleOf(v.toUInt());
  return IsWindow(hwnd) ? hwnd : nullptr;
}

bool isControl(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  return w && w->windowClass->control;
}

void noteDefaultProcessing(HWND hwnd, UINT msg) {
  Delivery* d = currentDelivery;
  if (!d || d->msg != msg || d->reached) return;
  bool key = msg >= WM_KEYDOWN && msg <= WM_SYSCHAR;
  // A window that leaves a key to the focus window passes it on to that window's procedure.
  if (hwnd == d->hwnd || (key && hwnd == focusHwnd)) d->reached = hwnd;
}

bool inputDelivery() { return currentDelivery != nullptr; }
HWND captureWindow() { return captureHwnd; }
HWND mouseWindow() { return lastMouseHwnd; }

// Only SetFocus moves the focus: Qt never gives a widget the focus on a click or a Tab of its
// own (a control's class procedure takes the focus on a click, as on Win32).
void attachWidget(QWidget* widget, HWND hwnd, bool control) {
  QVariant value(static_cast<uint>(reinterpret_cast<uintptr_t>(hwnd)));
  widget->setProperty("vornHwnd", value);
  widget->setMouseTracking(true);
  widget->setFocusPolicy(Qt::NoFocus);
  widget->installEventFilter(inputFilter());
  if (auto* area = control ? dynamic_cast<QAbstractScrollArea*>(widget) : nullptr) {
    area->viewport()->setProperty("vornHwnd", value);
    area->viewport()->setMouseTracking(true);
    area->viewport()->setFocusPolicy(Qt::NoFocus);
    area->viewport()->installEventFilter(inputFilter());
  }
}

// Keys that reach a top-level window with no focus widget inside it still become messages.
void attachFrame(QWidget* frame, HWND hwnd) {
  frame->setProperty("vornFrame", QVariant(static_cast<uint>(reinterpret_cast<uintptr_t>(hwnd))));
  frame->setFocusPolicy(Qt::NoFocus);
  frame->installEventFilter(inputFilter());
}

void forgetWindowState(HWND hwnd) {
  if (focusHwnd == hwnd) focusHwnd = nullptr;
  if (captureHwnd == hwnd) captureHwnd = nullptr;
  if (lastMouseHwnd == hwnd) lastMouseHwnd = nullptr;
  {
    std::lock_guard<std::mutex> guard(leaveLock);
    leaveTracked.erase(hwnd);
    if (hoverHwnd == hwnd) hoverHwnd = nullptr;
  }
  forgetActivation(hwnd);
}

void setKeyStateOverride(int virtualKey, int state) {
  std::lock_guard<std::mutex> guard(keyLock);
  if (state < 0) {
    keyOverrides.erase(virtualKey);
  } else {
    keyOverrides[virtualKey] = static_cast<SHORT>(state);
  }
}

void clearKeyStateOverrides() {
  std::lock_guard<std::mutex> guard(keyLock);
  keyOverrides.clear();
}

bool cursorShapeOf(HCURSOR cursor, int* shape) {
  std::lock_guard<std::mutex> guard(resourceLock);
  auto it = cursorShapes.find(reinterpret_cast<uintptr_t>(cursor));
  if (it == cursorShapes.end()) return false;
  *shape = it->second;
  return true;
}

namespace {

// The focus goes into another top-level window only with that window activated, as on Win32.
// A hidden one is not activated (a window manager never shows an unmapped window active), so
// nothing inside it takes the focus: building a hidden window leaves the focus where it is.
bool activateForFocus(HWND hwnd) {
  HWND top = topLevelOf(hwnd);
  HWND active = GetActiveWindow();
  if (top == active) return true;
  if (!IsWindowVisible(top)) return false;
  if (!active) return true;  // another program is in front: the focus waits, nothing is raised
  SetForegroundWindow(top);
  return IsWindow(hwnd) && GetActiveWindow() == top;
}

}  // namespace
}  // namespace vornplatform

using namespace vornplatform;

SHORT GetKeyState(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 255) return 0;
  std::lock_guard<std::mutex> guard(keyLock);
  auto it = keyOverrides.find(virtualKey);
  return it != keyOverrides.end() ? it->second : keyStates[virtualKey];
}

SHORT GetAsyncKeyState(int virtualKey) {
  return (GetKeyState(virtualKey) & 0x8000) ? static_cast<SHORT>(0x8000) : 0;
}

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  if (cursorKnown || !QCoreApplication::instance() || !isGuiThread()) {
    *point = lastCursor;
  } else {
    QPoint p = QCursor::pos();
    *point = POINT{p.x(), p.y()};
  }
  return TRUE;
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
  const DWORD known = TME_LEAVE | TME_CANCEL;
  if (!track || track->cbSize < sizeof(TRACKMOUSEEVENT) || (track->dwFlags & ~known) != 0 ||
      (track->dwFlags & TME_LEAVE) == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HWND hwnd = track->hwndTrack;
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  std::lock_guard<std::mutex> guard(leaveLock);
  if ((track->dwFlags & TME_CANCEL) != 0 || hoverHwnd != hwnd) {
    leaveTracked.erase(hwnd);
    // Asked while the mouse is elsewhere: it has already left.
    if ((track->dwFlags & TME_CANCEL) == 0) PostMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
    return TRUE;
  }
  leaveTracked.insert(hwnd);
  return TRUE;
}

HWND SetFocus(HWND hwnd) {
  if (hwnd && !IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (hwnd == focusHwnd) return hwnd;
  if (hwnd && !activateForFocus(hwnd)) return nullptr;
  HWND old = focusHwnd;
  if (hwnd == old) return old;  // the activation gave it the focus
  focusHwnd = hwnd;
  if (old && IsWindow(old)) callProcedure(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (!hwnd) {
    if (QWidget* widget = clientWidgetOf(old)) widget->clearFocus();
    return old;
  }
  if (focusHwnd != hwnd) return old;
  if (QWidget* widget = clientWidgetOf(hwnd)) widget->setFocus(Qt::OtherFocusReason);
  if (focusHwnd == hwnd) callProcedure(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() { return focusHwnd; }

HWND SetCapture(HWND hwnd) {
  HWND old = captureHwnd;
  if (!IsWindow(hwnd) || hwnd == old) return old;
  captureHwnd = hwnd;
  if (old && IsWindow(old))
    callProcedure(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  HWND old = captureHwnd;
  captureHwnd = nullptr;
  if (old && IsWindow(old)) callProcedure(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return captureHwnd; }

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance || !IS_INTRESOURCE(name)) return nullptr;
  int id = static_cast<int>(reinterpret_cast<uintptr_t>(name));
  for (const CursorEntry& entry : kCursors) {
    if (entry.id != id) continue;
    std::lock_guard<std::mutex> guard(resourceLock);
    HCURSOR& handle = cursorHandles[id];
    if (!handle) {
      handle = reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(nextHandleValue()));
      cursorShapes[reinterpret_cast<uintptr_t>(handle)] = entry.shape;
    }
    return handle;
  }
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = currentCursor;
  currentCursor = cursor;
  int shape = Qt::BlankCursor;
  if (cursor && !cursorShapeOf(cursor, &shape)) return old;
  HWND target = captureHwnd ? captureHwnd : lastMouseHwnd;
  if (QWidget* widget = clientWidgetOf(target)) {
    widget->setCursor(QCursor(static_cast<Qt::CursorShape>(shape)));
  }
  return old;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  // Icons are found by number only: modules register them under ids.
  if (!IS_INTRESOURCE(name)) return nullptr;
  int id = static_cast<int>(reinterpret_cast<uintptr_t>(name));
  if (instance) return moduleIcon(instance, id);
  if (id < 32512 || id > 32518) return nullptr;
  std::lock_guard<std::mutex> guard(resourceLock);
  HICON& handle = iconHandles[id];
  if (!handle) handle = reinterpret_cast<HICON>(static_cast<uintptr_t>(nextHandleValue()));
  return handle;
}

BOOL DestroyIcon(HICON icon) {
  if (isModuleIcon(icon)) return TRUE;  // shared with every caller, as a loaded icon is
  std::lock_guard<std::mutex> guard(resourceLock);
  for (auto& entry : iconHandles) {
    if (entry.second == icon) return TRUE;  // system icons are shared and stay
  }
  return FALSE;
}

void InitCommonControls() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) { return init ? TRUE : FALSE; }
