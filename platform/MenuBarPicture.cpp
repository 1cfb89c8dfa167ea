#include "platform/MenuBarPicture.h"

#include <algorithm>

#include "platform/GdiObjects.h"
#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

// Space left of and right of a text item's caption.
const int kTextMargin = 6;
// What an owner-drawn item's height is before the owner answers: the menu font's line.
const UINT kDefaultItemHeight = 17;

HFONT menuFont() {
  static HFONT font = [] {
    LOGFONTA logFont = guiLogFont();
    return CreateFontIndirectA(&logFont);
  }();
  return font;
}

int textWidth(HDC dc, const std::string& text) {
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right - r.left;
}

SIZE measuredSize(HWND owner, const BarItem& item) {
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.id, 0, kDefaultItemHeight, item.data};
  if (owner) SendMessageA(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  auto bounded = [](UINT value) { return static_cast<LONG>(std::min<UINT>(value, kMaxWindowExtent)); };
  return SIZE{bounded(measure.itemWidth), bounded(measure.itemHeight)};
}

}  // namespace

int MenuBarPicture::layout(HWND owner, std::vector<BarItem>& items, int leastHeight) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, menuFont());
  int x = 0, height = leastHeight;
  for (BarItem& item : items) {
    int width = 0;
    if (item.flags & MF_OWNERDRAW) {
      SIZE size = measuredSize(owner, item);
      width = size.cx;
      height = std::max(height, static_cast<int>(size.cy));
    } else if (!(item.flags & MF_SEPARATOR)) {
      width = textWidth(dc, item.text) + 2 * kTextMargin;
    }
    width = std::max(0, std::min(width, kMaxWindowExtent - x));
    item.box = RECT{x, 0, x + width, 0};
    x += width;
  }
  SelectObject(dc, oldFont);
  DeleteDC(dc);
  height = std::min(height, kMaxMenuBarHeight);
  for (BarItem& item : items) item.box.bottom = height;
  return height;
}

UINT MenuBarPicture::stateOf(const BarItem& item, bool selected) {
  UINT state = selected ? ODS_SELECTED : 0;
  if (item.flags & MF_GRAYED) state |= ODS_GRAYED;
  if (item.flags & MF_DISABLED) state |= ODS_DISABLED;
  if (item.flags & MF_CHECKED) state |= ODS_CHECKED;
  return state;
}

void MenuBarPicture::drawTextItem(HDC dc, const BarItem& item, bool selected) {
  RECT box = item.box;
  if (box.right <= box.left) return;
  bool lit = selected && item.enabled();
  if (lit) FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
  int colour = !item.enabled() ? COLOR_GRAYTEXT : lit ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
  SetTextColor(dc, GetSysColor(colour));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, menuFont());
  DrawTextA(dc, item.text.c_str(), static_cast<int>(item.text.size()), &box,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, oldFont);
}

QImage MenuBarPicture::render(HWND owner, HMENU menu, const std::vector<BarItem>& items,
                              int width, int height, int hot, int open) {
  if (width <= 0 || height <= 0) return QImage();
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  RECT whole{0, 0, width, height};
  FillRect(dc, &whole, GetSysColorBrush(COLOR_MENU));
  for (size_t i = 0; i < items.size(); ++i) {
    const BarItem& item = items[i];
    bool selected = static_cast<int>(i) == hot || static_cast<int>(i) == open;
    if (!(item.flags & MF_OWNERDRAW)) {
      drawTextItem(dc, item, selected);
      continue;
    }
    if (!owner) continue;
    // The DC covers the whole bar: an owner may paint past its item, up to the bar's end.
    DRAWITEMSTRUCT draw{ODT_MENU, 0, item.id, ODA_DRAWENTIRE, stateOf(item, selected),
                        reinterpret_cast<HWND>(menu), dc, item.box, item.data};
    SendMessageA(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  }
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  return takeBitmapImage(bitmap);
}

}  // namespace vornplatform
