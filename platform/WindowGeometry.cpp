// The layer's own geometry (window and client rectangles are the source of truth), showing and
// activation, painting requests, and the screen's metrics.
#include <QGuiApplication>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <mutex>

#include "platform/DialogHooks.h"
#include "platform/ForeignWindows.h"
#include "platform/FrameExtents.h"
#include "platform/NonClientMetrics.h"
#include "platform/GdiObjects.h"
#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"
#include "platform/win32_threads.h"

namespace vornplatform {
namespace {

HWND activeHwnd = nullptr;
// The window the program activated last and when: the window manager's news that arrive soon
// after and say otherwise describe the time before that choice.
HWND requestedHwnd = nullptr;
DWORD requestedAt = 0;
const DWORD kLateNewsMs = 1000;
int applyingGeometry = 0;
// The frame stands where the window manager put it: the layer takes that place, asks for none.
int followingWindowManager = 0;
std::mutex workAreaLock;
bool workAreaOverridden = false;
RECT workAreaOverride{};
bool extentsOverridden = false;  // GUI thread only
RECT extentsOverride{};

// A backing image stays within 8192 pixels a side and 64 MB.
const int kMaxBackingExtent = 8192;
const int kMaxBackingPixels = 4096 * 4096;

int widthOf(const RECT& r) { return r.right - r.left; }
int heightOf(const RECT& r) { return r.bottom - r.top; }

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// tellQt: also raise and activate the Qt window. Not when Qt itself reports the activation:
// asking again would queue another activation, and two windows would take turns forever.
void activate(HWND hwnd, bool tellQt = true) {
  if (hwnd == activeHwnd) return;
  if (tellQt) requestedHwnd = nullptr;  // the program's latest choice is the one that counts
  HWND old = activeHwnd;
  activeHwnd = hwnd;
  if (old && IsWindow(old))
    callProcedure(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
  if (!hwnd || activeHwnd != hwnd) return;
  QWidget* frame = tellQt ? topLevelWidgetOf(hwnd) : nullptr;
  if (frame) {
    requestedHwnd = hwnd;
    requestedAt = GetTickCount();
    frame->raise();
    frame->activateWindow();
  }
  callProcedure(hwnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
}

bool showWidgets(WindowRecord& w, bool show) {
  bool was = (w.style & WS_VISIBLE) != 0;
  if (was == show) return was;
  callProcedure(w.hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  if (show) {
    w.style |= WS_VISIBLE;
  } else {
    w.style &= ~WS_VISIBLE;
  }
  QWidget* top = w.frame ? w.frame.data() : w.client.data();
  if (top) top->setVisible(show);
  if (show && w.frame) applyGeometryToQt(w);
  if (show) publishWindowIdentity(w);
  if (!show && activeHwnd == w.hwnd) activate(nullptr);
  return was;
}

void workArea(RECT* out) {
  {
    std::lock_guard<std::mutex> guard(workAreaLock);
    if (workAreaOverridden) {
      *out = workAreaOverride;
      return;
    }
  }
  ensureApplication();
  QScreen* screen = QGuiApplication::primaryScreen();
  QRect r = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
  *out = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

bool isFramed(const WindowRecord& w) {
  return w.frame && !(w.frame->windowFlags() & Qt::FramelessWindowHint);
}

bool isEmpty(const RECT& r) { return !r.left && !r.top && !r.right && !r.bottom; }

// What the window manager puts around a top-level window's Qt window, as far as Qt knows it.
// The offscreen platform has no window manager: what it pretends to draw stays out of the
// window's rectangles.
RECT frameExtentsOf(const WindowRecord& w) {
  if (!isFramed(w)) return RECT{};
  if (extentsOverridden) return extentsOverride;
  if (offscreenPlatform()) return RECT{};
  QWindow* window = w.frame->windowHandle();
  if (!window || !w.frame->testAttribute(Qt::WA_WState_Created)) return w.margins;
  QMargins m = window->frameMargins();
  return RECT{m.left(), m.top(), m.right(), m.bottom()};
}

// Without a sizing border the window manager offers no resizing: the size is fixed for it.
void applySizeLimits(QWidget* frame, bool sizable, const QSize& size) {
  QSize least = sizable ? QSize(0, 0) : size;
  QSize most = sizable ? QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) : size;
  if (frame->minimumSize() == least && frame->maximumSize() == most) return;
  frame->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  frame->setMinimumSize(least);
  frame->setMaximumSize(most);
}

int edgeOfResize(const RECT& from, const RECT& to) {
  bool left = from.left != to.left, right = from.right != to.right;
  bool top = from.top != to.top, bottom = from.bottom != to.bottom;
  if (left && right) left = false;  // moved as well as resized: take the far corner
  if (top && bottom) top = false;
  if (top) return left ? WMSZ_TOPLEFT : right ? WMSZ_TOPRIGHT : WMSZ_TOP;
  if (bottom) return left ? WMSZ_BOTTOMLEFT : right ? WMSZ_BOTTOMRIGHT : WMSZ_BOTTOM;
  return left ? WMSZ_LEFT : WMSZ_RIGHT;
}

// The Qt window's place as the platform has it, with the frame around it. Qt reports a resize
// before the move that goes with it; the platform window already holds both.
RECT platformRectOf(const WindowRecord& w, const RECT& extents) {
  QWindow* window = w.frame->windowHandle();
  QRect g = window ? window->geometry() : w.frame->geometry();
  return RECT{g.x() - extents.left, g.y() - extents.top, g.x() + g.width() + extents.right,
              g.y() + g.height() + extents.bottom};
}

// A maximised window's frame is where the window manager put it (on the work area): taken as
// it is and reported as maximised. Offscreen, only a maximise that went through Qt is placed
// by it; the layer places its own.
bool placedByWindowManager(const WindowRecord& w) {
  return w.maximized && (!offscreenPlatform() || w.frame->isMaximized());
}

void takeMaximizedPlace(WindowRecord& w, const RECT& extents, bool announce) {
  RECT placed = platformRectOf(w, extents);
  if (!announce && sameRect(placed, w.rect) && sameRect(extents, w.margins)) return;
  ++followingWindowManager;
  changeWindowRect(w.hwnd, placed, SIZE_MAXIMIZED, &extents);
  --followingWindowManager;
}

void enterMaximized(WindowRecord& w, const RECT& extents) {
  w.normalRect = w.rect;
  w.maximized = true;
  takeMaximizedPlace(w, extents, true);
}

// The window manager may place a maximised window before Qt hears of the state: a new size
// or frame is checked against the window manager's own word.
bool maximizedBeforeQtKnows(const WindowRecord& w, const RECT& extents) {
  RECT placed = platformRectOf(w, extents);
  bool resized = widthOf(placed) != widthOf(w.rect) || heightOf(placed) != heightOf(w.rect);
  bool maximized = false;
  return (resized || !sameRect(extents, w.margins)) && readMaximizedState(w.frame, &maximized) &&
         maximized;
}

// Asks the window manager to maximise or restore the window as its own button does, so it
// records the state; offscreen there is none to ask.
void askWindowManagerToMaximize(WindowRecord& w, bool maximize) {
  if (offscreenPlatform() || !isFramed(w)) return;
  w.frame->winId();  // Qt keeps the state of a native window only
  Qt::WindowStates state = w.frame->windowState();
  w.frame->setWindowState(maximize ? state | Qt::WindowMaximized : state & ~Qt::WindowMaximized);
}

// Another process's window: the showing commands become a request to the window manager to
// activate it (which restores it); hiding or minimising it is not ours to do.
BOOL showForeignWindow(HWND hwnd, int command) {
  switch (command) {
    case SW_RESTORE:
    case SW_SHOW:
    case SW_SHOWNORMAL:
    case SW_MAXIMIZE:
      return activateForeignWindow(hwnd) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND topLevelOf(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  while (w && w->parent) w = findWindow(w->parent);
  return w ? w->hwnd : nullptr;
}

void forgetActivation(HWND hwnd) {
  if (activeHwnd == hwnd) activeHwnd = nullptr;
  if (requestedHwnd == hwnd) requestedHwnd = nullptr;
}

int menuHeightOf(const WindowRecord& w) { return !w.parent && w.menu ? w.menuBarHeight : 0; }

void askFrameBeforeShowing(WindowRecord& w) {
  RECT extents{};
  if (extentsOverridden) {
    extents = isFramed(w) ? extentsOverride : RECT{};
  } else if (!isFramed(w) || !askFrameExtents(w.frame, &extents)) {
    return;
  }
  w.margins = extents;
  fitClientToRect(w);
  applyGeometryToQt(w);
}

RECT boundedWindowRect(long long x, long long y, long long width, long long height) {
  auto bound = [](long long value, long long least, long long most) {
    return static_cast<LONG>(std::max(least, std::min(value, most)));
  };
  LONG left = bound(x, -kMaxWindowExtent - 1, kMaxWindowExtent);
  LONG top = bound(y, -kMaxWindowExtent - 1, kMaxWindowExtent);
  return RECT{left, top, left + bound(width, 0, kMaxWindowExtent),
              top + bound(height, 0, kMaxWindowExtent)};
}

void fitClientToRect(WindowRecord& w) {
  RECT m = w.parent ? RECT{} : w.margins;
  int border = w.parent ? 0 : 2 * w.ownBorder;
  w.clientWidth = std::max<int>(widthOf(w.rect) - m.left - m.right - border, 0);
  w.clientHeight =
      std::max<int>(heightOf(w.rect) - m.top - m.bottom - menuHeightOf(w) - border, 0);
}

POINT frameWidgetOrigin(const WindowRecord& w) {
  return POINT{w.rect.left + w.margins.left, w.rect.top + w.margins.top};
}

POINT clientOriginOnScreen(const WindowRecord& w) {
  if (!w.parent) {
    POINT origin = frameWidgetOrigin(w);
    return POINT{origin.x + w.ownBorder, origin.y + menuHeightOf(w) + w.ownBorder};
  }
  WindowPtr parent = findWindow(w.parent);
  POINT origin = parent ? clientOriginOnScreen(*parent) : POINT{0, 0};
  return POINT{origin.x + w.rect.left, origin.y + w.rect.top};
}

void applyGeometryToQt(WindowRecord& w) {
  ++applyingGeometry;
  int width = widthOf(w.rect), height = heightOf(w.rect);
  if (w.frame) {
    int menu = menuHeightOf(w), border = w.ownBorder;
    QSize size(w.clientWidth + 2 * border, w.clientHeight + menu + 2 * border);
    POINT at = frameWidgetOrigin(w);
    if (!followingWindowManager) {
      applySizeLimits(w.frame, (w.style & WS_THICKFRAME) != 0, size);
      w.frame->setGeometry(at.x, at.y, size.width(), size.height());
    }
    if (w.menuBar) {
      w.menuBar->setGeometry(0, 0, w.clientWidth, menu);
      w.menuBar->setVisible(menu > 0);
    }
    if (w.client) w.client->setGeometry(border, menu + border, w.clientWidth, w.clientHeight);
  } else if (w.client) {
    w.client->setGeometry(w.rect.left, w.rect.top, width, height);
  }
  --applyingGeometry;
}

void changeWindowRect(HWND hwnd, const RECT& requested, WPARAM sizeType, const RECT* margins) {
  WindowPtr w = findWindow(hwnd);
  if (!w) return;
  RECT rect = boundedWindowRect(requested.left, requested.top,
                                static_cast<long long>(requested.right) - requested.left,
                                static_cast<long long>(requested.bottom) - requested.top);
  POINT oldOrigin = w->parent ? POINT{w->rect.left, w->rect.top} : clientOriginOnScreen(*w);
  int oldWidth = w->clientWidth, oldHeight = w->clientHeight;
  w->rect = rect;
  if (margins) w->margins = *margins;
  fitClientToRect(*w);
  applyGeometryToQt(*w);
  POINT origin = w->parent ? POINT{rect.left, rect.top} : clientOriginOnScreen(*w);
  bool moved = origin.x != oldOrigin.x || origin.y != oldOrigin.y;
  bool sized = w->clientWidth != oldWidth || w->clientHeight != oldHeight;
  if (sized) invalidateWindow(*w, nullptr);
  if (moved) callProcedure(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  if (sized || sizeType != static_cast<WPARAM>(-1)) {
    WPARAM type = sizeType == static_cast<WPARAM>(-1) ? SIZE_RESTORED : sizeType;
    callProcedure(hwnd, WM_SIZE, type, MAKELPARAM(w->clientWidth, w->clientHeight));
  }
}

void invalidateWindow(WindowRecord& w, const RECT* rect) {
  RECT area{0, 0, w.clientWidth, w.clientHeight};
  if (rect) {
    area = RECT{std::max<LONG>(rect->left, 0), std::max<LONG>(rect->top, 0),
                std::min<LONG>(rect->right, w.clientWidth),
                std::min<LONG>(rect->bottom, w.clientHeight)};
    if (area.right <= area.left || area.bottom <= area.top) return;
  }
  if (w.invalid) {
    area = RECT{std::min(area.left, w.invalidRect.left), std::min(area.top, w.invalidRect.top),
                std::max(area.right, w.invalidRect.right),
                std::max(area.bottom, w.invalidRect.bottom)};
  }
  w.invalid = true;
  w.invalidRect = area;
  if (w.client && !w.windowClass->control) w.client->update();
}

void paintWindow(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (!w || !w->invalid) return;
  callProcedure(hwnd, WM_PAINT, 0, 0);
}

bool takeUpdateRegion(HWND hwnd, RECT* region, BOOL* erase) {
  WindowPtr w = findWindow(hwnd);
  if (region) *region = RECT{0, 0, 0, 0};
  if (erase) *erase = FALSE;
  if (!w) return false;
  if (w->invalid) {
    if (region) *region = w->invalidRect;
    if (erase) *erase = w->erase ? TRUE : FALSE;
  }
  w->invalid = false;
  w->erase = false;
  return true;
}

int ownBorderOf(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  return w && !w->parent ? w->ownBorder : 0;
}

QImage* backingImageOf(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (!w) return nullptr;
  // Beyond what any screen shows, drawing is clipped instead of paid for in memory.
  int border = w->parent ? 0 : 2 * w->ownBorder;
  int width = std::min(std::max(w->clientWidth + border, 1), kMaxBackingExtent);
  int height = std::min(std::max(w->clientHeight + border, 1), kMaxBackingPixels / width);
  if (w->backing && w->backing->width() == width && w->backing->height() == height) {
    return w->backing.get();
  }
  auto image = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
  QBrush background;
  if (!brushOfHandle(w->windowClass->info.hbrBackground, &background)) {
    background = QBrush(qColorOf(systemColor(COLOR_WINDOW)));
  }
  image->fill(background.style() == Qt::NoBrush ? QColor(Qt::white) : background.color());
  if (w->backing) {
    QPainter painter(image.get());
    painter.drawImage(0, 0, *w->backing);
  }
  w->backing = std::move(image);
  return w->backing.get();
}

void backingChanged(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (w && w->client) w->client->update();
  if (w && w->ownBorder && w->frame) w->frame->update();  // the border may have been drawn on
}

void setWorkAreaOverride(const RECT* area) {
  std::lock_guard<std::mutex> guard(workAreaLock);
  workAreaOverridden = area != nullptr;
  if (area) workAreaOverride = *area;
}

void activateFromQt(HWND hwnd, bool active) {
  if (requestedHwnd) {
    bool confirmed = active && hwnd == requestedHwnd;
    if (!confirmed && GetTickCount() - requestedAt < kLateNewsMs) return;
    requestedHwnd = nullptr;
  }
  if (active) {
    activate(hwnd, false);
  } else if (activeHwnd == hwnd) {
    activate(nullptr, false);
  }
}

bool applyingQtGeometry() { return applyingGeometry > 0; }

void setFrameExtentsOverride(const RECT* extents) {
  extentsOverridden = extents != nullptr;
  if (extents) extentsOverride = *extents;
}

void maximizedFromQt(HWND hwnd, bool maximized) {
  WindowPtr w = findWindow(hwnd);
  if (!w || w->dying || w->parent || !w->frame || w->minimized) return;
  if (maximized == w->maximized) return;
  if (maximized) {
    enterMaximized(*w, frameExtentsOf(*w));
    return;
  }
  w->maximized = false;
  changeWindowRect(hwnd, w->normalRect, SIZE_RESTORED);
}

void frameChangedByQt(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (!w || w->dying || !w->frame || w->minimized) return;
  bool shown = w->frame->isVisible();
  RECT extents = frameExtentsOf(*w);
  if (shown && placedByWindowManager(*w)) {
    takeMaximizedPlace(*w, extents, false);
    return;
  }
  if (shown && !w->maximized && maximizedBeforeQtKnows(*w, extents)) {
    enterMaximized(*w, extents);
    return;
  }
  // A hidden window the window manager let go of has no frame now, but gets it back when shown.
  if (!sameRect(extents, w->margins) && (shown || !isEmpty(extents))) {
    // The window stays where the program put it; the client area is what the frame leaves.
    changeWindowRect(hwnd, w->rect, static_cast<WPARAM>(-1), &extents);
    return;
  }
  if (!shown) return;
  QRect g = w->frame->geometry();
  RECT proposed{g.x() - extents.left, g.y() - extents.top, g.x() + g.width() + extents.right,
                g.y() + g.height() + extents.bottom};
  if (sameRect(proposed, w->rect)) return;
  RECT old = w->rect;
  // Window and platform taking turns (the window snaps, the platform moves it back): the
  // platform's place is taken as it is, or they would go on for ever.
  bool takingTurns = sameRect(proposed, w->reported[1]) && !sameRect(proposed, w->reported[0]);
  w->reported[1] = w->reported[0];
  w->reported[0] = proposed;
  if (takingTurns) {
    changeWindowRect(hwnd, proposed, static_cast<WPARAM>(-1));
    return;
  }
  if (widthOf(proposed) != widthOf(old) || heightOf(proposed) != heightOf(old)) {
    callProcedure(hwnd, WM_SIZING, static_cast<WPARAM>(edgeOfResize(old, proposed)),
                  reinterpret_cast<LPARAM>(&proposed));
  } else {
    callProcedure(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&proposed));
  }
  changeWindowRect(hwnd, proposed, static_cast<WPARAM>(-1));
}

}  // namespace vornplatform

using namespace vornplatform;

BOOL ShowWindow(HWND hwnd, int command) {
  WindowPtr w = findWindow(hwnd);
  if (!w) return showForeignWindow(hwnd, command);
  if (w->dying) return FALSE;
  bool was = (w->style & WS_VISIBLE) != 0;
  bool topLevel = !w->parent;
  switch (command) {
    case SW_HIDE:
      showWidgets(*w, false);
      return was;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      showWidgets(*w, true);
      w->minimized = true;
      if (w->frame) w->frame->showMinimized();
      callProcedure(hwnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(w->clientWidth, w->clientHeight));
      return was;
    case SW_MAXIMIZE: {
      if (!w->maximized) w->normalRect = w->rect;
      w->maximized = true;
      w->minimized = false;
      // Before showing: a window mapped maximised is managed so from the start.
      if (topLevel) askWindowManagerToMaximize(*w, true);
      showWidgets(*w, true);
      RECT area{0, 0, 0, 0};
      if (topLevel) workArea(&area);
      if (!topLevel && w->parent) GetClientRect(w->parent, &area);
      changeWindowRect(hwnd, area, SIZE_MAXIMIZED);
      if (topLevel) activate(hwnd);
      return was;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
      showWidgets(*w, true);
      if (w->minimized) {
        w->minimized = false;
        if (w->frame) w->frame->showNormal();
        if (!w->maximized) changeWindowRect(hwnd, w->rect, SIZE_RESTORED);
      }
      if (w->maximized) {
        w->maximized = false;
        if (topLevel) askWindowManagerToMaximize(*w, false);
        changeWindowRect(hwnd, w->normalRect, SIZE_RESTORED);
      }
      if (topLevel && IsWindow(hwnd)) activate(hwnd);
      return was;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
      showWidgets(*w, true);
      return was;
    default:
      showWidgets(*w, true);
      if (topLevel && IsWindow(hwnd)) activate(hwnd);
      return was;
  }
}

BOOL IsWindowVisible(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (!w || w->dying) return FALSE;
  for (; w; w = findWindow(w->parent)) {
    if (!(w->style & WS_VISIBLE)) return FALSE;
  }
  return TRUE;
}

BOOL IsIconic(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  return w && w->minimized;
}

BOOL IsZoomed(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  return w && w->maximized;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
  if (!findWindow(hwnd)) return FALSE;
  changeWindowRect(hwnd, boundedWindowRect(x, y, width, height), static_cast<WPARAM>(-1));
  return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  WindowPtr w = findWindow(hwnd);
  if (!w || w->dying) return FALSE;
  RECT rect = w->rect;
  if (!(flags & SWP_NOMOVE)) rect = boundedWindowRect(x, y, widthOf(rect), heightOf(rect));
  if (!(flags & SWP_NOSIZE)) rect = boundedWindowRect(rect.left, rect.top, cx, cy);
  if (!sameRect(rect, w->rect)) changeWindowRect(hwnd, rect, static_cast<WPARAM>(-1));
  if (!(flags & SWP_NOZORDER) && w->frame) {
    if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
      bool top = insertAfter == HWND_TOPMOST;
      bool visible = w->frame->isVisible();
      w->exStyle = top ? (w->exStyle | WS_EX_TOPMOST) : (w->exStyle & ~WS_EX_TOPMOST);
      w->frame->setWindowFlag(Qt::WindowStaysOnTopHint, top);  // Qt hides the window here
      if (visible) {
        w->frame->show();
        applyGeometryToQt(*w);
      }
    } else if (insertAfter == HWND_BOTTOM) {
      w->frame->lower();
    } else {
      w->frame->raise();
    }
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  WindowPtr w = findWindow(hwnd);
  if (!w && rect) return foreignWindowRects(hwnd, rect, nullptr) ? TRUE : FALSE;
  if (!w || !rect) return FALSE;
  if (!w->parent) {
    *rect = w->rect;
    return TRUE;
  }
  POINT origin = clientOriginOnScreen(*w);
  *rect = RECT{origin.x, origin.y, origin.x + widthOf(w->rect), origin.y + heightOf(w->rect)};
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  WindowPtr w = findWindow(hwnd);
  if (!w && rect) return foreignWindowRects(hwnd, nullptr, rect) ? TRUE : FALSE;
  if (!w || !rect) return FALSE;
  *rect = RECT{0, 0, w->clientWidth, w->clientHeight};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  WindowPtr w = findWindow(hwnd);
  if (!w || !point) return FALSE;
  POINT origin = clientOriginOnScreen(*w);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  WindowPtr w = findWindow(hwnd);
  if (!w || !point) return FALSE;
  POINT origin = clientOriginOnScreen(*w);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

BOOL SetForegroundWindow(HWND hwnd) {
  if (isForeignHandle(hwnd)) return activateForeignWindow(hwnd) ? TRUE : FALSE;
  HWND top = topLevelOf(hwnd);
  if (!top || !IsWindow(top)) return FALSE;
  activate(top);
  return TRUE;
}

// Another program in front (a film, a game) is named too, so callers can see how it covers the
// screen; ours are known without asking.
HWND GetForegroundWindow() { return activeHwnd ? activeHwnd : foreignActiveWindow(); }

BOOL BringWindowToTop(HWND hwnd) { return SetForegroundWindow(hwnd); }

HWND GetActiveWindow() { return activeHwnd; }

BOOL UpdateWindow(HWND hwnd) {
  // Another process paints its own window.
  if (!findWindow(hwnd)) return foreignWindowExists(hwnd) ? TRUE : FALSE;
  paintWindow(hwnd);
  backingChanged(hwnd);
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    for (const WindowPtr& w : allWindows()) invalidateWindow(*w, nullptr);
    return TRUE;
  }
  WindowPtr w = findWindow(hwnd);
  if (!w) return FALSE;
  invalidateWindow(*w, rect);
  if (erase && w->invalid) w->erase = true;
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  WindowPtr w = findWindow(hwnd);
  if (!w) return FALSE;
  const RECT& r = w->invalidRect;
  if (!rect || (rect->left <= r.left && rect->top <= r.top && rect->right >= r.right &&
                rect->bottom >= r.bottom)) {
    w->invalid = false;
    w->erase = false;
  }
  return TRUE;
}

BOOL SystemParametersInfoA(UINT action, UINT param, PVOID value, UINT) {
  if (action == SPI_GETNONCLIENTMETRICS)
    return nonClientMetrics(param, static_cast<NONCLIENTMETRICSA*>(value)) ? TRUE : FALSE;
  if (action != SPI_GETWORKAREA || !value) return FALSE;
  workArea(static_cast<RECT*>(value));
  return TRUE;
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
      ensureApplication();
      QScreen* screen = QGuiApplication::primaryScreen();
      QRect r = screen ? screen->geometry() : QRect(0, 0, 800, 600);
      return index == SM_CXSCREEN ? r.width() : r.height();
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CXHTHUMB:
      return 17;
    case SM_CYCAPTION:
      return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CYMENU:
      return kMenuBarHeight;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
      return 13;
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    default:
      return 0;
  }
}

DWORD GetSysColor(int index) { return systemColor(index); }
