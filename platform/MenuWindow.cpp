// A pop-up menu level: measured once, painted through its own window procedure so that a
// subclass sees WM_ERASEBKGND, WM_PAINT and WM_NCPAINT first, and drawn by the owner for
// owner-drawn items on a context of this window.
#include "platform/MenuWindow.h"

#include <algorithm>
#include <map>

#include "platform/MenuItemPainter.h"
#include "platform/MenuTracker.h"
#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

const char kClassName[] = "#32768";
// What Win32 gives an owner-drawn item before the owner answers: the menu font's height.
const UINT kDefaultItemHeight = 17;

std::map<HWND, MenuWindow*>& openWindows() {
  static auto* windows = new std::map<HWND, MenuWindow*>;
  return *windows;
}

LRESULT CALLBACK classProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MenuWindow* window = MenuWindow::fromHwnd(hwnd);
  if (window == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return window->defaultProcedure(hwnd, msg, wParam, lParam);
}

bool registerClass() {
  WNDCLASSEXA info{};
  if (GetClassInfoExA(nullptr, kClassName, &info)) return true;
  info.cbSize = sizeof info;
  info.lpfnWndProc = classProcedure;
  info.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_MENU + 1));
  info.lpszClassName = kClassName;
  return RegisterClassExA(&info) != 0;
}

RECT offset(RECT r, int dx, int dy) {
  OffsetRect(&r, dx, dy);
  return r;
}

}  // namespace

MenuWindow::MenuWindow(HMENU menu, HWND owner, MenuTracker* tracker)
    : menu_(menu), owner_(owner), tracker_(tracker) {}

MenuWindow::~MenuWindow() {
  close();
  if (font_) DeleteObject(font_);
}

MenuWindow* MenuWindow::fromHwnd(HWND hwnd) {
  auto found = openWindows().find(hwnd);
  return found == openWindows().end() ? nullptr : found->second;
}

HFONT MenuWindow::menuFont() const {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  return CreateFontIndirectA(&metrics.lfMenuFont);
}

SIZE MenuWindow::measureOwnerDrawn(const MenuItemView& item) const {
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.id, 0, kDefaultItemHeight, item.data};
  if (IsWindow(owner_)) SendMessageA(owner_, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  // The owner's width leaves out the check-mark column Win32 keeps on the left.
  int width = static_cast<int>(std::min<UINT>(measure.itemWidth, 4096));
  int height = static_cast<int>(std::min<UINT>(measure.itemHeight, 1024));
  return SIZE{width + GetSystemMetrics(SM_CXMENUCHECK) - 1, height};
}

bool MenuWindow::layOut() {
  if (!menuItemsOf(menu_, &items_) || items_.empty()) return false;
  if (!font_) font_ = menuFont();
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = font_ ? SelectObject(screen, font_) : nullptr;
  std::vector<SIZE> sizes;
  for (const MenuItemView& item : items_)
    sizes.push_back(item.flags & MF_OWNERDRAW ? measureOwnerDrawn(item)
                                              : MenuItemPainter::measure(screen, item));
  if (old) SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  width_ = 0;
  for (const SIZE& size : sizes) width_ = std::max<int>(width_, size.cx);
  boxes_.clear();
  height_ = 0;
  for (const SIZE& size : sizes) {
    boxes_.push_back(RECT{0, height_, width_, height_ + static_cast<int>(size.cy)});
    height_ += static_cast<int>(size.cy);
  }
  return true;
}

bool MenuWindow::open(POINT at, bool show) {
  if (hwnd_ || !registerClass()) return false;
  SIZE size = windowSize();
  hwnd_ = CreateWindowExA(0, kClassName, "", WS_POPUP, at.x, at.y, size.cx, size.cy, nullptr,
                          nullptr, nullptr, nullptr);
  if (!hwnd_) return false;
  WindowPtr w = findWindow(hwnd_);
  if (!w || !w->frame) return false;
  w->ownBorder = kBorder;
  fitClientToRect(*w);
  w->frame->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
  applyGeometryToQt(*w);
  openWindows()[hwnd_] = this;
  tracker_->watch(*this);
  HWND hwnd = hwnd_;
  if (show) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  if (IsWindow(hwnd)) SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  if (IsWindow(hwnd)) InvalidateRect(hwnd, nullptr, TRUE);
  if (IsWindow(hwnd)) UpdateWindow(hwnd);
  return IsWindow(hwnd) != FALSE;
}

void MenuWindow::close() {
  HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  if (!hwnd) return;
  if (IsWindow(hwnd)) {
    // Hidden first, so a subclass puts itself back before its window goes.
    ShowWindow(hwnd, SW_HIDE);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  openWindows().erase(hwnd);
}

bool MenuWindow::contains(POINT screen) const {
  RECT r;
  return hwnd_ && GetWindowRect(hwnd_, &r) && PtInRect(&r, screen);
}

int MenuWindow::itemAt(POINT screen) const {
  if (!hwnd_) return -1;
  for (int i = 0; i < count(); ++i) {
    RECT r = itemOnScreen(i);
    if (PtInRect(&r, screen)) return i;
  }
  return -1;
}

RECT MenuWindow::itemOnScreen(int index) const {
  POINT origin{0, 0};
  if (hwnd_) ClientToScreen(hwnd_, &origin);
  return offset(boxes_[static_cast<size_t>(index)], origin.x, origin.y);
}

bool MenuWindow::selectable(int index) const {
  return index >= 0 && index < count() && !(item(index).flags & MF_SEPARATOR);
}

void MenuWindow::select(int index) {
  if (!selectable(index)) index = -1;
  if (index == selected_) return;
  int previous = selected_;
  selected_ = index;
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  HDC dc = GetDC(hwnd);
  if (previous >= 0) drawItem(dc, previous, ODA_SELECT);
  if (index >= 0 && hwnd_ == hwnd) drawItem(dc, index, ODA_SELECT);
  ReleaseDC(hwnd, dc);
}

UINT MenuWindow::stateOf(int index) const {
  UINT flags = item(index).flags;
  UINT state = index == selected_ ? ODS_SELECTED : 0;
  if (flags & MF_GRAYED) state |= ODS_GRAYED;
  if (flags & MF_DISABLED) state |= ODS_DISABLED;
  if (flags & MF_CHECKED) state |= ODS_CHECKED;
  return state;
}

void MenuWindow::drawItem(HDC dc, int index, UINT action) {
  const MenuItemView entry = item(index);  // a copy: the owner may close the menu meanwhile
  RECT box = boxes_[static_cast<size_t>(index)];
  if (!(entry.flags & MF_OWNERDRAW)) {
    HGDIOBJ old = font_ ? SelectObject(dc, font_) : nullptr;
    MenuItemPainter::draw(dc, entry, box, index == selected_);
    if (old) SelectObject(dc, old);
    return;
  }
  DRAWITEMSTRUCT draw{ODT_MENU, 0,  entry.id, action, stateOf(index), reinterpret_cast<HWND>(menu_),
                      dc,       box, entry.data};
  HWND hwnd = hwnd_;
  if (IsWindow(owner_)) SendMessageA(owner_, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  if (!hwnd || hwnd_ != hwnd || !IsWindow(hwnd)) return;
  bool grayed = (entry.flags & (MF_GRAYED | MF_DISABLED)) != 0;
  if (entry.flags & MF_POPUP)
    MenuItemPainter::drawArrow(dc, box, GetSysColor(grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
}

void MenuWindow::paintItems(HDC dc, const RECT& update) {
  HWND hwnd = hwnd_;
  for (int i = 0; i < count() && hwnd_ == hwnd; ++i) {
    const RECT& box = boxes_[static_cast<size_t>(i)];
    if (box.top < update.bottom && box.bottom > update.top) drawItem(dc, i, ODA_DRAWENTIRE);
  }
}

LRESULT MenuWindow::defaultProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(hwnd);
      SIZE size = windowSize();
      MenuItemPainter::drawFrame(dc, size.cx, size.cy, kBorder);
      ReleaseDC(hwnd, dc);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      if (dc) paintItems(dc, paint.rcPaint);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_CLOSE:
      tracker_->cancel();
      return 0;
    case WM_DESTROY:
      // Destroyed by someone else: the menu cannot go on.
      if (hwnd_ == hwnd) {
        openWindows().erase(hwnd);
        hwnd_ = nullptr;
        tracker_->cancel();
      }
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace vornplatform
