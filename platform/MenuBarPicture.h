// The face of a window's bar that holds owner-drawn items: lays the items out left to right
// (the owner measures its own) and paints them, the owner drawing onto a DC of the whole bar.
#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace vornplatform {

// One item of a bar as the menu records hold it, with the box the layout gave it.
struct BarItem {
  UINT flags = 0;
  UINT id = 0;  // the command, or the sub-menu's handle value for an MF_POPUP item
  std::string text;
  HMENU sub = nullptr;
  ULONG_PTR data = 0;
  RECT box{};  // in bar coordinates; empty for a separator

  bool sameItem(const BarItem& other) const {
    return flags == other.flags && id == other.id && text == other.text && sub == other.sub &&
           data == other.data;
  }
  bool enabled() const { return !(flags & (MF_GRAYED | MF_DISABLED)); }
};

// The top-level items of a menu (Menus.cpp keeps the records).
std::vector<BarItem> barItemsOf(HMENU menu);
// True when at least one top-level item of the menu is owner-drawn.
bool barHasOwnerDrawnItem(HMENU menu);

class MenuBarPicture {
 public:
  // Gives each item its box: owner-drawn items the width the owner answers to WM_MEASUREITEM,
  // text items the menu font's width of their text with a margin each side. The bar is as
  // high as its tallest owner-drawn item, at least leastHeight (and at most kMaxMenuBarHeight):
  // that height is the answer and every box's.
  static int layout(HWND owner, std::vector<BarItem>& items, int leastHeight);
  // The bar filled with the menu colour, then each item drawn in order: text items by the
  // layer, owner-drawn ones by the owner through WM_DRAWITEM. hot and open are item indexes
  // (-1: none); either shows its item selected.
  static QImage render(HWND owner, HMENU menu, const std::vector<BarItem>& items, int width,
                       int height, int hot, int open);

 private:
  static UINT stateOf(const BarItem& item, bool selected);
  static void drawTextItem(HDC dc, const BarItem& item, bool selected);
};

}  // namespace vornplatform
