// The window core's own records: window classes and windows, kept in one table per process.
// Internal to platform/; records are touched on the GUI thread only (the table is locked).
#pragma once

#include <QPointer>
#include <QWidget>
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32_menu.h"
#include "platform/win32_window.h"

class QImage;

namespace vornplatform {

struct ControlClass;

struct WindowClass {
  std::string name;
  ATOM atom = 0;
  WNDCLASSEXA info{};                     // lpszClassName points into name
  const ControlClass* control = nullptr;  // system control classes only
  std::atomic<int> windowCount{0};        // changed on the GUI thread, read by UnregisterClassA
};
using WindowClassPtr = std::shared_ptr<WindowClass>;

const int kMenuBarHeight = 20;
// A painted bar grows to its tallest owner-drawn item, but never past this: the client area
// stays usable whatever an owner answers.
const int kMaxMenuBarHeight = 200;

struct WindowRecord {
  HWND hwnd = nullptr;
  WindowClassPtr windowClass;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  HWND parent = nullptr;
  std::vector<HWND> children;  // in creation order
  std::string text;
  RECT rect{};  // the window rectangle: on the screen when top-level, else in the parent's client
  RECT margins{};  // top-level: the frame the window manager puts around the Qt window
  // A top-level frame the layer draws itself inside the Qt window (a pop-up menu's border):
  // the backing image covers it, and contexts of the client area start inside it.
  int ownBorder = 0;
  int clientWidth = 0;
  int clientHeight = 0;
  bool dying = false;
  bool minimized = false;
  bool maximized = false;
  RECT normalRect{};         // where a restore puts a maximised window
  HMENU menu = nullptr;      // the bar of a top-level window
  int menuBarHeight = kMenuBarHeight;  // the painted bar's may be taller
  HFONT font = nullptr;      // what WM_SETFONT gave a control
  QPointer<QWidget> frame;   // the outer Qt window of a top-level window
  // The platform's last two reports of a moved frame: when a platform refuses the place the
  // window answers (the offscreen one does near the screen's corner), its reports alternate.
  RECT reported[2]{};
  QPointer<QWidget> client;  // the widget of the client area (a control's own widget)
  QPointer<QWidget> menuBar;  // a Qt menu bar, or the layer's painted one for owner drawing
  std::unique_ptr<QImage> backing;
  bool drawnOn = false;  // a control drawn on through a device context shows backing
  bool invalid = false;  // has an update region
  RECT invalidRect{};
  bool erase = false;
  std::map<int, LONG_PTR> extra;  // window extra bytes by offset
  ~WindowRecord();
};
using WindowPtr = std::shared_ptr<WindowRecord>;

// Lookups: a live or dying window, or null for a dead or unknown handle.
WindowPtr findWindow(HWND hwnd);
std::vector<WindowPtr> allWindows();
WindowClassPtr findClass(LPCSTR nameOrAtom);
bool isGuiThread();
HWND handleOf(uint32_t value);

// Calls the window's current procedure on this thread; 0 for a dead window.
LRESULT callProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Geometry (WindowGeometry.cpp).
int menuHeightOf(const WindowRecord& w);
POINT clientOriginOnScreen(const WindowRecord& w);
// Where the Qt window of a top-level window (menu bar and client area) sits on the screen.
POINT frameWidgetOrigin(const WindowRecord& w);
void applyGeometryToQt(WindowRecord& w);
// Sets the window rectangle (and the frame's extents when given), then sends WM_MOVE and WM_SIZE
// when the client moved or resized.
void changeWindowRect(HWND hwnd, const RECT& rect, WPARAM sizeType, const RECT* margins = nullptr);
// Win32's limits on a window's place: coordinates within 16 bits and no extent beyond 32767, so
// no request can ask for a backing image of gigabytes or overflow the rectangle's arithmetic.
const int kMaxWindowExtent = 32767;
RECT boundedWindowRect(long long x, long long y, long long width, long long height);
// The client area is the window rectangle less the frame and the menu bar.
void fitClientToRect(WindowRecord& w);
// A new top-level window learns the window manager's frame before it shows, where the window
// manager tells it.
void askFrameBeforeShowing(WindowRecord& w);
// Forgets focus, capture and activation held by a dying window.
void forgetWindowState(HWND hwnd);
void invalidateWindow(WindowRecord& w, const RECT* rect);
// Sends WM_PAINT when the window has an update region (or always when forced).
void paintWindow(HWND hwnd);
void activateFromQt(HWND hwnd, bool active);
// The window manager minimised or restored the top-level window (WindowMinimize.cpp).
void minimizedFromQt(HWND hwnd, bool minimized);
// The window manager maximised or restored it (WindowGeometry.cpp).
void maximizedFromQt(HWND hwnd, bool maximized);
// The Qt window of a top-level window was moved or resized, by the window manager or the user.
void frameChangedByQt(HWND hwnd);

// Messages (Messages.cpp).
void killTimersOf(HWND hwnd);
void postToGuiQueue(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

void startMessageRouting();
int currentDispatchDepth();

// Input (Input.cpp). noteDefaultProcessing: the class procedure reached an input message
// that is being delivered from a Qt event (so the widget may act on the event).
void noteDefaultProcessing(HWND hwnd, UINT msg);
bool inputDelivery();
// The WM_CHAR bytes a key makes: from the Qt event when there is one (may be null), else from
// the virtual key and the key state.
std::string charactersForKey(int virtualKey, const class QKeyEvent* event);
HWND captureWindow();
int virtualKeyOf(int qtKey, bool keypad);
bool cursorShapeOf(HCURSOR cursor, int* shape);
void forgetActivation(HWND hwnd);
// The top-level window that holds hwnd (hwnd itself when it is top-level).
HWND topLevelOf(HWND hwnd);

// Counts Qt event handlers of window widgets on the stack: widgets are deleted only when none
// runs (they may belong to a window destroyed from inside the handler).
struct HandlerScope {
  HandlerScope();
  ~HandlerScope();
  static int depth();
};

HWND mouseWindow();  // the window of the last mouse event

// Menus (Menus.cpp): refresh the bar of a window from its menu records.
void rebuildMenuBar(HWND hwnd);
// Rebuilds the window's bar now when a rebuild is waiting for the loop.
void settleMenuBar(HWND hwnd);
void menuChanged(HMENU menu);
// The window got a menu bar (at its creation or through SetMenu): menu changes look only at
// such windows, not at every window of the process.
void noteMenuBarOwner(HWND hwnd);

}  // namespace vornplatform
