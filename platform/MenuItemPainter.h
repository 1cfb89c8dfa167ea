// Internal to platform/: the layer's own look of pop-up menu items (text with accelerators and
// shortcuts, separators, check marks, sub-menu arrows) and of the raised menu frame.
#pragma once

#include "platform/MenuAccess.h"
#include "platform/win32.h"

namespace vornplatform {

class MenuItemPainter {
 public:
  // The check-mark column on each side of an item's text.
  static int markWidth();
  // Width and height of an item the layer draws, in the menu font selected into dc.
  static SIZE measure(HDC dc, const MenuItemView& item);
  // Paints the whole item into box (client coordinates of dc).
  static void draw(HDC dc, const MenuItemView& item, const RECT& box, bool selected);
  // The small triangle at the right end of an item that opens a sub-menu.
  static void drawArrow(HDC dc, const RECT& box, COLORREF colour);
  // The classic raised frame, border pixels wide, over a window of the given size.
  static void drawFrame(HDC windowDc, int width, int height, int border);
};

}  // namespace vornplatform
