// The skin's hold on menus: it gives the items of main and pop-up menus its own measuring and
// drawing (unless they draw themselves), takes them back, and turns the windows of flat
// pop-up menus into framed, corner-cut ones once their first item is drawn.
#pragma once

#include "plugins/vtraySetup/rt/Menu.h"
#include "plugins/vtraySetup/skin/SkinContext.h"

namespace skin {

class FlatSkin;

// Private notices posted to the application window after a flat pop-up item is drawn.
constexpr UINT kFlatMenuItemNotice = 0xBCB3;    // wParam: the item (its window was not found)
constexpr UINT kFlatMenuWindowNotice = 0xBCB4;  // wParam: the menu's window, lParam: mirrored

class MenuSkinning {
 public:
  static void hook(FlatSkin& skin, frt::Menu& menu);
  // Clears only the handlers that are still the skin's.
  static void unhook(const FlatSkin& skin, frt::Menu& menu);
  // After a pop-up item was drawn on canvas: asks the application window to make the menu's
  // window flat, unless such a notice is pending.
  static void noteItemDrawn(FlatSkin& skin, frt::Canvas& canvas, const frt::MenuItem& item);
  // The application window's side of the notices; true when the message was one of them.
  static bool handleNotice(FlatSkin& skin, UINT msg, WPARAM wParam, LPARAM lParam);
  // A flat frame on the window and a shape that cuts the corners the shadow leaves out.
  static void makeFlat(HWND menuWindow, const SkinContext& context);
};

}  // namespace skin
