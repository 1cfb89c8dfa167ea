// Qt input into Win32 messages: mouse and keys through the window procedures, the key state,
// focus, capture and cursors. A control's widget acts on an event only when its message
// reached the class procedure.
#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>
#include <algorithm>
#include <map>
#include <mutex>
#include <set>

#include "platform/Handles.h"
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
  bool reached;
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

void noteButtons(Qt::MouseButtons b) {
  setKeyDown(VK_LBUTTON, b & Qt::LeftButton);
  setKeyDown(VK_RBUTTON, b & Qt::RightButton);
  setKeyDown(VK_MBUTTON, b & Qt::MiddleButton);
}

bool keyIsDown(int vk) { return GetKeyState(vk) & 0x8000; }

// What GetMessagePos and GetMessageTime report while the input is handled.
void noteInputMessage(POINT screenPoint) {
  setMessagePos(screenPoint);
  setMessageTime(GetTickCount());
}

bool deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Delivery d{hwnd, msg, false, currentDelivery};
  currentDelivery = &d;
  callProcedure(hwnd, msg, wParam, lParam);
  currentDelivery = d.outer;
  return d.reached;
}

bool isPassingThrough(QObject* watched, QEvent* e) {
  if (!passThrough.origin || e->type() != passThrough.type) return false;
  for (QObject* o = passThrough.origin; o; o = o->parent()) {
    if (o == watched) return true;
  }
  return false;
}

void passToWidget(QObject* watched, QEvent* e) {
  PassThrough saved = passThrough;
  passThrough = PassThrough{watched, e->type()};
  QPointer<QObject> guard(watched);
  QCoreApplication::sendEvent(watched, e);
  passThrough = saved;
}

HWND hwndOfObject(QObject* o) {
  QVariant v = o->property("vornHwnd");
  if (!v.isValid()) return nullptr;
  HWND hwnd = handleOf(v.toUInt());
  return IsWindow(hwnd) ? hwnd : nullptr;
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

bool isControl(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  return w && w->windowClass->control;
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
  bool reached =
      deliver(target, msg, mouseKeyFlags(e->buttons(), e->modifiers()), MAKELPARAM(x, y));
  e->accept();
  if (reached && target == hwnd && IsWindow(hwnd) && isControl(hwnd)) passToWidget(watched, e);
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
  bool reached = deliver(hwnd, WM_MOUSEWHEEL, wParam, MAKELPARAM(screen.x, screen.y));
  e->accept();
  if (reached && IsWindow(hwnd) && isControl(hwnd)) passToWidget(watched, e);
  return true;
}

struct KeyEntry {
  int qtKey;
  int vk;
};
// clang-format off
const KeyEntry kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},           {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},      {Qt::Key_Return, VK_RETURN},     {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},      {Qt::Key_Control, VK_CONTROL},   {Qt::Key_Alt, VK_MENU},
    {Qt::Key_AltGr, VK_RMENU},      {Qt::Key_Pause, VK_PAUSE},       {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},    {Qt::Key_Space, VK_SPACE},       {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},    {Qt::Key_End, VK_END},           {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},        {Qt::Key_Up, VK_UP},             {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},        {Qt::Key_Print, VK_SNAPSHOT},    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Help, VK_HELP},         {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Super_L, VK_LWIN},     {Qt::Key_Super_R, VK_RWIN},      {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},  {Qt::Key_ScrollLock, VK_SCROLL}, {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},      {Qt::Key_Equal, VK_OEM_PLUS},    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},  {Qt::Key_Less, VK_OEM_COMMA},    {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},      {Qt::Key_Question, VK_OEM_2},    {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3}, {Qt::Key_BracketLeft, VK_OEM_4}, {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},  {Qt::Key_Bar, VK_OEM_5},         {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7},  {Qt::Key_QuoteDbl, VK_OEM_7},
    {Qt::Key_Exclam, '1'},          {Qt::Key_At, '2'},               {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},          {Qt::Key_Percent, '5'},          {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},       {Qt::Key_Asterisk, '8'},         {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};
// clang-format on

int keypadKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return VK_NUMPAD0 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Asterisk:
      return VK_MULTIPLY;
    case Qt::Key_Plus:
      return VK_ADD;
    case Qt::Key_Minus:
      return VK_SUBTRACT;
    case Qt::Key_Period:
      return VK_DECIMAL;
    case Qt::Key_Slash:
      return VK_DIVIDE;
    default:
      return 0;
  }
}

bool handleKey(QObject* watched, QKeyEvent* e) {
  HWND hwnd = hwndOfObject(watched);
  if (!hwnd) return false;
  int vk = virtualKeyOf(e->key(), e->modifiers() & Qt::KeypadModifier);
  noteModifiers(e->modifiers());
  bool press = e->type() == QEvent::KeyPress;
  if (!press && e->isAutoRepeat()) return true;  // a held key repeats its key-down only
  if (vk == 0) return false;
  setKeyDown(vk, press);
  bool alt = (e->modifiers() & Qt::AltModifier) && !(e->modifiers() & Qt::ControlModifier);
  LPARAM lParam = 1 | (static_cast<LPARAM>(e->nativeScanCode() & 0xFF) << 16);
  if (alt) lParam |= 1L << 29;
  if (press && e->isAutoRepeat()) lParam |= 1L << 30;
  if (!press) lParam |= 3L << 30;
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  noteInputMessage(cursor);
  bool reached;
  if (press) {
    reached = deliver(hwnd, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), lParam);
    for (char c : charactersForKey(vk, e)) {
      if (!IsWindow(hwnd)) break;
      reached = deliver(hwnd, alt ? WM_SYSCHAR : WM_CHAR, static_cast<unsigned char>(c), lParam) &&
                reached;
    }
  } else {
    reached = deliver(hwnd, alt ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk), lParam);
  }
  e->accept();
  if (reached && IsWindow(hwnd) && isControl(hwnd)) passToWidget(watched, e);
  return true;
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
        return handleMouse(watched, static_cast<QMouseEvent*>(e));
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        return handleKey(watched, static_cast<QKeyEvent*>(e));
      case QEvent::Wheel:
        return handleWheel(watched, static_cast<QWheelEvent*>(e));
      case QEvent::FocusIn:
        if (HWND hwnd = hwndOfObject(watched)) setFocusFromQt(hwnd);
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

int virtualKeyOf(int key, bool keypad) {
  if (keypad) {
    if (int vk = keypadKey(key)) return vk;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + (key - Qt::Key_F1);
  for (const KeyEntry& entry : kKeys) {
    if (entry.qtKey == key) return entry.vk;
  }
  return 0;
}

std::string charactersForKey(int vk, const QKeyEvent* e) {
  bool ctrl = e ? (e->modifiers() & Qt::ControlModifier) != 0 : keyIsDown(VK_CONTROL);
  bool shift = e ? (e->modifiers() & Qt::ShiftModifier) != 0 : keyIsDown(VK_SHIFT);
  switch (vk) {
    case VK_RETURN:
      return ctrl ? "\n" : "\r";
    case VK_TAB:
      return ctrl ? "" : "\t";
    case VK_BACK:
      return ctrl ? "\x7f" : "\b";
    case VK_ESCAPE:
      return "\x1b";
    default:
      break;
  }
  if (ctrl) {
    if (vk >= 'A' && vk <= 'Z') return std::string(1, static_cast<char>(vk - 'A' + 1));
    if (!e || !(e->modifiers() & Qt::AltModifier)) return "";  // AltGr still types
  }
  if (e) {
    QString text = e->text();
    if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F) return "";
    return qStringToBytes(text);
  }
  if (vk >= 'A' && vk <= 'Z') {
    bool upper = shift != ((GetKeyState(VK_CAPITAL) & 1) != 0);
    return std::string(1, static_cast<char>(upper ? vk : vk + 32));
  }
  if (vk >= '0' && vk <= '9' && !shift) return std::string(1, static_cast<char>(vk));
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9)
    return std::string(1, static_cast<char>('0' + vk - VK_NUMPAD0));
  switch (vk) {
    case VK_SPACE:
      return " ";
    case VK_MULTIPLY:
      return "*";
    case VK_ADD:
      return "+";
    case VK_SUBTRACT:
      return "-";
    case VK_DECIMAL:
      return ".";
    case VK_DIVIDE:
      return "/";
    default:
      return "";
  }
}

void noteDefaultProcessing(HWND hwnd, UINT msg) {
  if (currentDelivery && currentDelivery->hwnd == hwnd && currentDelivery->msg == msg) {
    currentDelivery->reached = true;
  }
}

bool inputDelivery() { return currentDelivery != nullptr; }
HWND captureWindow() { return captureHwnd; }
HWND mouseWindow() { return lastMouseHwnd; }

void attachWidget(QWidget* widget, HWND hwnd, bool control) {
  QVariant value(static_cast<uint>(reinterpret_cast<uintptr_t>(hwnd)));
  widget->setProperty("vornHwnd", value);
  widget->setMouseTracking(true);
  widget->installEventFilter(inputFilter());
  if (auto* area = control ? dynamic_cast<QAbstractScrollArea*>(widget) : nullptr) {
    area->viewport()->setProperty("vornHwnd", value);
    area->viewport()->setMouseTracking(true);
    area->viewport()->installEventFilter(inputFilter());
  }
}

void setFocusFromQt(HWND hwnd) {
  if (hwnd == focusHwnd) return;
  HWND old = focusHwnd;
  focusHwnd = hwnd;
  if (old && IsWindow(old)) callProcedure(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd == focusHwnd) callProcedure(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
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
  HWND old = focusHwnd;
  if (hwnd == old) return old;
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
  // Modules carry no icon resources here; only the system icons exist.
  if (instance || !IS_INTRESOURCE(name)) return nullptr;
  int id = static_cast<int>(reinterpret_cast<uintptr_t>(name));
  if (id < 32512 || id > 32518) return nullptr;
  std::lock_guard<std::mutex> guard(resourceLock);
  HICON& handle = iconHandles[id];
  if (!handle) handle = reinterpret_cast<HICON>(static_cast<uintptr_t>(nextHandleValue()));
  return handle;
}

BOOL DestroyIcon(HICON icon) {
  std::lock_guard<std::mutex> guard(resourceLock);
  for (auto& entry : iconHandles) {
    if (entry.second == icon) return TRUE;  // system icons are shared and stay
  }
  return FALSE;
}

void InitCommonControls() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) { return init ? TRUE : FALSE; }
