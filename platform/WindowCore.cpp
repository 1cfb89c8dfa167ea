// The window table and class registry: creating and destroying windows, procedures and
// subclassing, window longs, text and the default window procedure.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QMenuBar>
#include <QThread>
#include <cstring>
#include <mutex>
#include <strings.h>

#include "platform/ControlClass.h"
#include "platform/ForeignWindows.h"
#include "platform/HandleTable.h"
#include "platform/KeyboardMenu.h"
#include "platform/ModuleIcons.h"
#include "platform/QtWindowWidgets.h"
#include "platform/TextCodec.h"
#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"
#include "platform/win32_gdi.h"
#include "platform/win32_shell.h"
#include "platform/win32_threads.h"

namespace vornplatform {
namespace {

struct CaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }
};

struct Registry {
  std::mutex lock;  // guards the classes
  std::map<std::string, WindowClassPtr, CaseLess> classes;
  ATOM nextAtom = 0xC000;
  HandleTable<WindowRecord> windows;
};

Registry& registry() {
  static Registry* instance = new Registry;
  return *instance;
}

WindowClassPtr addClass(const WNDCLASSEXA& info, const ControlClass* control) {
  if (!info.lpszClassName || IS_INTRESOURCE(info.lpszClassName) || !info.lpszClassName[0]) {
    return WindowClassPtr();
  }
  auto cls = std::make_shared<WindowClass>();
  cls->name = info.lpszClassName;
  cls->info = info;
  cls->control = control;
  Registry& r = registry();
  std::lock_guard<std::mutex> guard(r.lock);
  if (r.classes.count(cls->name)) return WindowClassPtr();
  cls->atom = r.nextAtom++;
  cls->info.lpszClassName = cls->name.c_str();
  cls->info.lpszMenuName = nullptr;
  r.classes[cls->name] = cls;
  return cls;
}

void addWindow(const WindowPtr& w) {
  uint32_t value = nextHandleValue();
  w->hwnd = handleOf(value);
  w->windowClass->windowCount++;
  registry().windows.put(value, w);
}

void removeWindow(HWND hwnd) {
  WindowPtr w = registry().windows.remove(hwnd);
  if (!w) return;
  w->windowClass->windowCount--;
  if (WindowPtr parent = findWindow(w->parent)) {
    auto& list = parent->children;
    for (auto it = list.begin(); it != list.end(); ++it) {
      if (*it == hwnd) {
        list.erase(it);
        break;
      }
    }
  }
}

// An overlapped window always has a caption, a pop-up only with WS_CAPTION; the system menu
// brings the close box, and the minimise and maximise boxes need it too.
Qt::WindowFlags frameFlags(DWORD style, DWORD exStyle) {
  Qt::WindowFlags flags = (exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
  if (exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
  bool caption = !(style & WS_POPUP) || (style & WS_CAPTION) == WS_CAPTION;
  if (!caption) return flags | Qt::FramelessWindowHint;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (!(style & WS_SYSMENU)) return flags;
  flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
  if (style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

// Places a window that asked for the default position or size.
void resolveDefaults(bool child, int* x, int* y, int* width, int* height) {
  static int stagger = 0;
  if (*x == CW_USEDEFAULT) {
    *x = child ? 0 : 40 + stagger;
    *y = child ? 0 : 40 + stagger;
    stagger = (stagger + 24) % 192;
  }
  if (*width == CW_USEDEFAULT) {
    *width = child ? 0 : 640;
    *height = child ? 0 : 480;
  }
  if (*width < 0) *width = 0;
  if (*height < 0) *height = 0;
}

void makeWidgets(WindowRecord& w, const CREATESTRUCTA& cs) {
  WindowPtr parent = findWindow(w.parent);
  QWidget* host = parent ? parent->client.data() : nullptr;
  if (!parent) {
    auto* frame = new FrameWidget(w.hwnd, frameFlags(w.style, w.exStyle));
    frame->setWindowTitle(bytesToQString(w.text));
    // The window manager shows the class icon in the title bar and the task bar.
    const WNDCLASSEXA& info = w.windowClass->info;
    QIcon icon = qtIconOf(info.hIcon, info.hIconSm);
    if (!icon.isNull()) frame->setWindowIcon(icon);
    w.frame = frame;
    attachFrame(frame, w.hwnd);
    host = frame;
  }
  const ControlClass* control = w.windowClass->control;
  QWidget* client = control ? control->createWidget(w.hwnd, cs, host) : nullptr;
  if (!client) client = new ClientWidget(w.hwnd, host);
  if (client->parentWidget() != host) client->setParent(host);
  w.client = client;
  attachWidget(client, w.hwnd, control != nullptr);
  if (w.style & WS_DISABLED) client->setEnabled(false);
  if (w.frame) {
    client->show();
  } else {
    client->hide();
  }
  if (w.frame && w.menu) rebuildMenuBar(w.hwnd);
}

// A window's handle stays valid until its own WM_DESTROY: the parent's handler may still
// talk to its children, or destroy one outright (which then leaves the tree here).
void destroyTreeMessages(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (!w || w->dying) return;
  w->dying = true;
  forgetWindowState(hwnd);
  callProcedure(hwnd, WM_DESTROY, 0, 0);
  std::vector<HWND> children = w->children;
  for (HWND child : children) destroyTreeMessages(child);
}

void finishTree(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) finishTree(child);
  killTimersOf(hwnd);
  callProcedure(hwnd, WM_NCDESTROY, 0, 0);
  removeWindow(hwnd);
}

void storeText(WindowRecord& w, LPCSTR text) {
  w.text = text ? text : "";
  if (w.frame) w.frame->setWindowTitle(bytesToQString(w.text));
  publishWindowIdentity(w);
}

// A painting context clips the fill to the update rectangle. Without a class brush the
// background stays for the painter (fErase TRUE).
bool eraseWithClassBrush(const WindowRecord& w, HDC dc) {
  HBRUSH brush = w.windowClass->info.hbrBackground;
  RECT client{0, 0, w.clientWidth, w.clientHeight};
  return brush && FillRect(dc, &client, brush) != 0;
}

// The right button's release, the menu key's release and Shift+F10 ask for a context menu.
bool asksForContextMenu(UINT msg, WPARAM wParam) {
  if (msg == WM_RBUTTONUP) return true;
  if (msg == WM_KEYUP) return wParam == VK_APPS;
  bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
  return down && wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000);
}

// WM_CONTEXTMENU names the window and the place on the screen; from the keyboard the place is
// (-1, -1).
void sendContextMenu(HWND hwnd, UINT msg, LPARAM lParam) {
  LPARAM where = MAKELPARAM(0xFFFF, 0xFFFF);
  if (msg == WM_RBUTTONUP) {
    POINT p{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    ClientToScreen(hwnd, &p);
    where = MAKELPARAM(p.x, p.y);
  }
  SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), where);
}

}  // namespace

WindowRecord::~WindowRecord() = default;

HWND handleOf(uint32_t value) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(value)); }

bool isGuiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

WindowPtr findWindow(HWND hwnd) { return registry().windows.find(hwnd); }

std::vector<WindowPtr> allWindows() { return registry().windows.all(); }

WindowClassPtr findClass(LPCSTR nameOrAtom) {
  if (!nameOrAtom) return WindowClassPtr();
  Registry& r = registry();
  std::lock_guard<std::mutex> guard(r.lock);
  if (IS_INTRESOURCE(nameOrAtom)) {
    ATOM atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(nameOrAtom));
    for (auto& entry : r.classes) {
      if (entry.second->atom == atom) return entry.second;
    }
    return WindowClassPtr();
  }
  auto it = r.classes.find(nameOrAtom);
  return it == r.classes.end() ? WindowClassPtr() : it->second;
}

LRESULT callProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowPtr w = findWindow(hwnd);
  if (!w || !w->proc) return 0;
  return w->proc(hwnd, msg, wParam, lParam);
}

bool registerControlClass(const ControlClass& control) {
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  info.style = control.classStyle;
  info.lpfnWndProc = control.procedure;
  info.lpszClassName = control.name;
  return addClass(info, &control) != nullptr;
}

QWidget* clientWidgetOf(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  return w ? w->client.data() : nullptr;
}

QWidget* controlWidgetOf(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  return w && w->windowClass->control ? w->client.data() : nullptr;
}

QWidget* topLevelWidgetOf(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  while (w && w->parent) w = findWindow(w->parent);
  return w ? w->frame.data() : nullptr;
}

HWND windowOfWidget(const QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    QVariant value = widget->property("vornHwnd");
    if (value.isValid()) {
      HWND hwnd = handleOf(value.toUInt());
      WindowPtr w = findWindow(hwnd);
      if (w && !w->dying) return hwnd;
    }
  }
  return nullptr;
}

}  // namespace vornplatform

using namespace vornplatform;

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc || !wc->lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WindowClassPtr cls = addClass(*wc, nullptr);
  if (!cls) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  return cls->atom;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  WindowClassPtr cls = findClass(className);
  if (!cls || cls->control) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  Registry& r = registry();
  std::lock_guard<std::mutex> guard(r.lock);
  if (cls->windowCount > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  r.classes.erase(cls->name);
  return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR className, WNDCLASSEXA* wc) {
  WindowClassPtr cls = findClass(className);
  if (!cls || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *wc = cls->info;
  wc->cbSize = sizeof *wc;
  return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  ensureApplication();
  WindowClassPtr cls = findClass(className);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  bool child = (style & WS_CHILD) != 0;
  WindowPtr parentRecord = findWindow(parent);
  if (!isGuiThread() || (child && (!parentRecord || parentRecord->dying))) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  resolveDefaults(child, &x, &y, &width, &height);

  auto w = std::make_shared<WindowRecord>();
  w->windowClass = cls;
  w->proc = cls->info.lpfnWndProc;
  w->style = style & ~WS_VISIBLE;
  if (!(style & (WS_CHILD | WS_POPUP))) w->style |= WS_CAPTION | WS_CLIPSIBLINGS;
  w->exStyle = exStyle;
  w->instance = instance;
  w->parent = child ? parent : nullptr;
  w->id = child ? reinterpret_cast<LONG_PTR>(menu) : 0;
  w->menu = child ? nullptr : menu;
  w->rect = boundedWindowRect(x, y, width, height);
  x = w->rect.left, y = w->rect.top;
  width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
  w->normalRect = w->rect;
  fitClientToRect(*w);
  addWindow(w);
  if (w->menu) noteMenuBarOwner(w->hwnd);
  if (parentRecord && child) parentRecord->children.push_back(w->hwnd);

  CREATESTRUCTA cs{
      param,      instance,  menu,   w->parent, height, width, y, x, static_cast<LONG>(style),
      windowName, className, exStyle};
  makeWidgets(*w, cs);
  applyGeometryToQt(*w);
  if (w->frame) askFrameBeforeShowing(*w);
  w->invalid = true;
  w->invalidRect = RECT{0, 0, w->clientWidth, w->clientHeight};

  HWND hwnd = w->hwnd;
  if (!callProcedure(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
      callProcedure(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  POINT origin = w->parent ? POINT{w->rect.left, w->rect.top} : clientOriginOnScreen(*w);
  callProcedure(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->clientWidth, w->clientHeight));
  callProcedure(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (!w || w->dying || !isGuiThread()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  QWidget* top = w->frame ? w->frame.data() : w->client.data();
  if (top) top->hide();
  destroyTreeMessages(hwnd);
  HMENU menu = w->menu;
  finishTree(hwnd);
  if (menu) DestroyMenu(menu);
  if (top) {
    top->setProperty("vornHwnd", QVariant());
    top->deleteLater();
  }
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (!w) return foreignWindowExists(hwnd);
  return !w->dying;
}

HWND GetParent(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  return w ? w->parent : nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  return w && w->parent ? static_cast<int>(w->id) : 0;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  WindowClassPtr cls = className ? findClass(className) : WindowClassPtr();
  if (cls || !className) {
    for (const WindowPtr& w : allWindows()) {
      if (w->parent || w->dying) continue;
      if (cls && w->windowClass != cls) continue;
      if (windowName && w->text != windowName) continue;
      return w->hwnd;
    }
  }
  // Then the other processes' windows on the desktop, as FindWindow sees every top-level window.
  return findForeignWindow(className, windowName);
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowPtr w = findWindow(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) storeText(*w, cs->lpszName);
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SETTEXT:
      storeText(*w, reinterpret_cast<LPCSTR>(lParam));
      return TRUE;
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char*>(lParam);
      if (!buffer || wParam == 0) return 0;
      size_t n = w->text.size() < wParam - 1 ? w->text.size() : wParam - 1;
      std::memcpy(buffer, w->text.data(), n);
      buffer[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    case WM_PAINT:
      ValidateRect(hwnd, nullptr);
      return 0;
    case WM_ACTIVATE:
      // The activated window takes the keyboard focus unless it is minimised.
      if (LOWORD(wParam) != WA_INACTIVE && !w->minimized) SetFocus(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return eraseWithClassBrush(*w, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_MOUSEWHEEL:
      // A control's widget scrolls itself; any other child passes the wheel to its parent.
      if (!w->windowClass->control) {
        bool child = (w->style & WS_CHILD) && w->parent;
        return child ? SendMessageA(w->parent, msg, wParam, lParam) : 0;
      }
      noteDefaultProcessing(hwnd, msg);
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      if (keyAsksForMenu(hwnd, msg, wParam, lParam)) return 0;
      noteDefaultProcessing(hwnd, msg);
      if (asksForContextMenu(msg, wParam)) sendContextMenu(hwnd, msg, lParam);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU) {
        openMenuBarByKey(hwnd, lParam);
        return 0;
      }
      noteDefaultProcessing(hwnd, msg);
      return 0;
    case WM_CONTEXTMENU:
      // A child has no menu of its own to offer: its parent may.
      if ((w->style & WS_CHILD) && w->parent)
        return SendMessageA(w->parent, WM_CONTEXTMENU, wParam, lParam);
      return 0;
    default:
      noteDefaultProcessing(hwnd, msg);
      if (asksForContextMenu(msg, wParam)) sendContextMenu(hwnd, msg, lParam);
      return 0;
  }
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

LONG_PTR GetWindowLongA(HWND hwnd, int index) {
  WindowPtr w = findWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (index) {
    case GWL_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_ID:
      return w->id;
    case GWL_STYLE:
      return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(w->exStyle);
    case GWL_USERDATA:
      return w->userData;
    default:
      break;
  }
  if (index < 0 || index >= w->windowClass->info.cbWndExtra) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto it = w->extra.find(index);
  return it == w->extra.end() ? 0 : it->second;
}

namespace {

LONG_PTR changeStyle(WindowRecord& w, int index, DWORD value) {
  DWORD& field = index == GWL_STYLE ? w.style : w.exStyle;
  STYLESTRUCT change{field, value};
  HWND hwnd = w.hwnd;
  callProcedure(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index),
                reinterpret_cast<LPARAM>(&change));
  DWORD old = field;
  field = change.styleNew;
  if (index == GWL_STYLE && w.client) w.client->setEnabled((field & WS_DISABLED) == 0);
  callProcedure(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index),
                reinterpret_cast<LPARAM>(&change));
  return static_cast<LONG>(old);
}

}  // namespace

LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value) {
  WindowPtr w = findWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  LONG_PTR old = 0;
  switch (index) {
    case GWL_WNDPROC:
      old = reinterpret_cast<LONG_PTR>(w->proc);
      if (value) w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWL_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(w->instance);
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWL_ID:
      old = w->id;
      w->id = value;
      return old;
    case GWL_STYLE:
    case GWL_EXSTYLE:
      return changeStyle(*w, index, static_cast<DWORD>(value));
    case GWL_USERDATA:
      old = w->userData;
      w->userData = value;
      return old;
    default:
      break;
  }
  if (index < 0 || index >= w->windowClass->info.cbWndExtra) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  old = w->extra[index];
  w->extra[index] = value;
  return old;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!findWindow(hwnd)) return FALSE;
  return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  if (!findWindow(hwnd)) return foreignWindowText(hwnd, buffer, size);
  return static_cast<int>(
      SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND hwnd) {
  if (!findWindow(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL IsWindowEnabled(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  WindowPtr w = findWindow(hwnd);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    if (GetFocus() == hwnd) SetFocus(nullptr);
  }
  if (w->client) w->client->setEnabled(enable != 0);
  callProcedure(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}
