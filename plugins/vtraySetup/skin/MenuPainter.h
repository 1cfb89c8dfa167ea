// Owner drawing of menu items in the flat style: measuring an item, drawing bar and pop-up
// items (icon strip, selection box, separators, check marks, glyph effects) and the frame of
// a flat pop-up menu window.
#pragma once

#include "plugins/vtraySetup/rt/MenuItem.h"
#include "plugins/vtraySetup/skin/SkinContext.h"

namespace skin {

struct MenuItemState {
  bool selected = false;
  bool onBar = false;  // an item of a main menu's bar
  bool rightToLeft = false;
};

class MenuPainter {
 public:
  static SIZE measure(frt::Canvas& canvas, const frt::MenuItem& item, bool onBar,
                      const SkinContext& context);
  // Draws into an off-screen bitmap of rect's size, then copies it onto the canvas.
  static void draw(frt::Canvas& canvas, const RECT& rect, const frt::MenuItem& item,
                   const MenuItemState& state, const SkinContext& context);
  // The width of the icon strip for an item.
  static int stripWidth(const frt::MenuItem& item, const SkinContext& context);
  // A flat pop-up window's frame on its whole rectangle.
  static void flatFrame(frt::Canvas& canvas, const RECT& window, const SkinContext& context);

 private:
  static void drawPopup(frt::Canvas& canvas, const RECT& r, const frt::MenuItem& item,
                        const MenuItemState& state, const SkinContext& context);
  static void drawBar(frt::Canvas& canvas, const RECT& r, const frt::MenuItem& item,
                      const MenuItemState& state, const SkinContext& context);
  static void drawCheck(frt::Canvas& canvas, const RECT& strip, const frt::MenuItem& item,
                        const MenuItemState& state, const SkinContext& context);
  static void drawGlyph(frt::Canvas& canvas, const RECT& strip, const frt::MenuItem& item,
                        const MenuItemState& state, const SkinContext& context);
  static void drawCaption(frt::Canvas& canvas, RECT text, const frt::MenuItem& item,
                          const MenuItemState& state, const SkinContext& context);
};

}  // namespace skin
