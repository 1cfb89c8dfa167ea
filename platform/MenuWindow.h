// Internal to platform/: one open level of a pop-up menu as a window of the layer's own (class
// "#32768"), with a border of its own; owner-drawn items are measured and drawn by the owner.
#pragma once

#include <vector>

#include "platform/MenuAccess.h"
#include "platform/win32.h"

namespace vornplatform {

class MenuTracker;

class MenuWindow {
 public:
  static const int kBorder = 3;

  MenuWindow(HMENU menu, HWND owner, MenuTracker* tracker);
  ~MenuWindow();  // closes the window
  MenuWindow(const MenuWindow&) = delete;
  MenuWindow& operator=(const MenuWindow&) = delete;

  // Reads the items and measures them once; false for a dead or empty menu.
  bool layOut();
  SIZE windowSize() const { return SIZE{width_ + 2 * kBorder, height_ + 2 * kBorder}; }
  // Makes the window with its top-left corner there; shown (and painted) or kept hidden.
  bool open(POINT topLeft, bool show);
  // Tells the window it goes (WM_SHOWWINDOW, then WM_DESTROY); safe to call twice.
  void close();

  HWND hwnd() const { return hwnd_; }
  HMENU menu() const { return menu_; }
  int count() const { return static_cast<int>(items_.size()); }
  const MenuItemView& item(int index) const { return items_[static_cast<size_t>(index)]; }
  bool contains(POINT screen) const;
  int itemAt(POINT screen) const;  // -1 outside every item
  RECT itemOnScreen(int index) const;
  bool selectable(int index) const;  // not a separator
  int selected() const { return selected_; }
  // Moves the highlight, redrawing the item left and the item reached.
  void select(int index);

  // The class procedure's own handling (paint, erase, frame, close).
  LRESULT defaultProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static MenuWindow* fromHwnd(HWND hwnd);

 private:
  SIZE measureOwnerDrawn(const MenuItemView& item) const;
  void paintItems(HDC dc, const RECT& update);
  void drawItem(HDC dc, int index, UINT action);
  UINT stateOf(int index) const;
  HFONT menuFont() const;

  HMENU menu_;
  HWND owner_;
  MenuTracker* tracker_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  std::vector<MenuItemView> items_;
  std::vector<RECT> boxes_;  // client coordinates
  int width_ = 0;
  int height_ = 0;
  int selected_ = -1;
};

}  // namespace vornplatform
