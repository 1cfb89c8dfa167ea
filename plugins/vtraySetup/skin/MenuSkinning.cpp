#include "plugins/vtraySetup/skin/MenuSkinning.h"

#include <map>
#include <memory>

#include "plugins/vtraySetup/rt/Application.h"
#include "plugins/vtraySetup/skin/FlatSkin.h"
#include "plugins/vtraySetup/skin/MenuPainter.h"

namespace skin {

namespace {

// The procedures the flat menu windows had before the skin's.
std::map<HWND, WNDPROC>& previousProcedures() {
  static auto* procedures = new std::map<HWND, WNDPROC>;
  return *procedures;
}

void restore(HWND hwnd) {
  auto found = previousProcedures().find(hwnd);
  if (found == previousProcedures().end()) return;
  SetWindowRgn(hwnd, nullptr, FALSE);
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second));
  previousProcedures().erase(found);
}

// The frame is drawn over the whole window, so the background is never erased; the shape goes
// when the menu closes.
LRESULT CALLBACK flatMenuProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto found = previousProcedures().find(hwnd);
  if (found == previousProcedures().end()) return DefWindowProcA(hwnd, msg, wParam, lParam);
  WNDPROC previous = found->second;
  if (msg == WM_ERASEBKGND) return 1;
  bool closing = msg == WM_DESTROY || (msg == WM_SHOWWINDOW && wParam == 0);
  if (closing) restore(hwnd);
  return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}

void installHandlers(FlatSkin& skin, frt::MenuItem& item) {
  FlatSkin* owner = &skin;
  item.onMeasureItem = [owner](frt::MenuItem& it, frt::Canvas& canvas, int& w, int& h) {
    SIZE size = MenuPainter::measure(canvas, it, it.onBar, owner->context());
    w = size.cx;
    h = size.cy;
  };
  item.onDrawItem = [owner](frt::MenuItem& it, frt::Canvas& canvas, const RECT& r, bool sel) {
    MenuItemState state{sel, it.onBar, it.rightToLeft};
    MenuPainter::draw(canvas, r, it, state, owner->context());
    if (owner->flatMenu && !it.onBar) MenuSkinning::noteItemDrawn(*owner, canvas, it);
  };
  item.drawingOwner = &skin;
}

// Every item of the menu's tree, parents before their sub-items.
std::vector<frt::MenuItem*> allItems(const frt::Menu& menu) {
  std::vector<frt::MenuItem*> all = menu.items();
  for (size_t i = 0; i < all.size(); ++i) {
    std::vector<frt::MenuItem*> subItems = all[i]->items();
    all.insert(all.end(), subItems.begin(), subItems.end());
  }
  return all;
}

}  // namespace

void MenuSkinning::hook(FlatSkin& skin, frt::Menu& menu) {
  for (frt::MenuItem* item : allItems(menu)) {
    if (item->onDrawItem && !skin.overrideOwnerDraw && item->drawingOwner != &skin) continue;
    installHandlers(skin, *item);
  }
  // Setting the first caption again rebuilds the bar with the new faces.
  if (auto* bar = dynamic_cast<frt::MainMenu*>(&menu)) bar->redrawBar();
  else menu.rebuild();
}

void MenuSkinning::unhook(const FlatSkin& skin, frt::Menu& menu) {
  for (frt::MenuItem* item : allItems(menu)) {
    if (item->drawingOwner != &skin) continue;
    item->onMeasureItem = nullptr;
    item->onDrawItem = nullptr;
    item->drawingOwner = nullptr;
  }
  if (auto* bar = dynamic_cast<frt::MainMenu*>(&menu)) bar->redrawBar();
  else menu.rebuild();
}

void MenuSkinning::noteItemDrawn(FlatSkin& skin, frt::Canvas& canvas, const frt::MenuItem& item) {
  if (skin.flatMenuPending) return;
  HWND application = frt::Application::instance().handle();
  if (application == nullptr) return;
  HWND menuWindow = WindowFromDC(canvas.handle());
  bool posted = menuWindow
      ? PostMessageA(application, kFlatMenuWindowNotice, reinterpret_cast<WPARAM>(menuWindow),
                     item.rightToLeft ? 1 : 0)
      : PostMessageA(application, kFlatMenuItemNotice, reinterpret_cast<WPARAM>(&item), 0);
  skin.flatMenuPending = posted != FALSE;
}

bool MenuSkinning::handleNotice(FlatSkin& skin, UINT msg, WPARAM wParam, LPARAM) {
  if (msg != kFlatMenuItemNotice && msg != kFlatMenuWindowNotice) return false;
  skin.flatMenuPending = false;
  // An item notice means the menu had no window of the layer's to shape: nothing to do.
  HWND menuWindow = reinterpret_cast<HWND>(wParam);
  if (msg == kFlatMenuWindowNotice && IsWindow(menuWindow)) makeFlat(menuWindow, skin.context());
  return true;
}

void MenuSkinning::makeFlat(HWND hwnd, const SkinContext& context) {
  if (!previousProcedures().count(hwnd)) {
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (previous == nullptr) return;
    previousProcedures()[hwnd] = previous;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(flatMenuProcedure));
  }
  RECT window;
  GetWindowRect(hwnd, &window);
  int w = window.right - window.left, h = window.bottom - window.top;
  HDC dc = GetWindowDC(hwnd);
  {
    frt::Canvas canvas(dc);
    MenuPainter::flatFrame(canvas, RECT{0, 0, w, h}, context);
  }
  ReleaseDC(hwnd, dc);
  // The body and its shadow, offset by 2: the top-right and bottom-left corners fall away.
  HRGN shape = CreateRectRgn(0, 0, w - 2, h - 2);
  HRGN shadow = CreateRectRgn(2, 2, w, h);
  CombineRgn(shape, shape, shadow, RGN_OR);
  DeleteObject(shadow);
  SetWindowRgn(hwnd, shape, TRUE);
}

}  // namespace skin
