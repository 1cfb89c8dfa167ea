#include "platform/MenuItemPainter.h"

#include <algorithm>

namespace vornplatform {
namespace {

const int kTextGap = 4;       // between the mark column and the text
const int kShortcutGap = 16;  // between the text and its shortcut
const int kSeparatorHeight = 8;
const UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT;

std::string beforeTab(const std::string& text) { return text.substr(0, text.find('\t')); }

std::string afterTab(const std::string& text) {
  size_t tab = text.find('\t');
  return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

int textWidth(HDC dc, const std::string& text, UINT format) {
  if (text.empty()) return 0;
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
  return r.right - r.left;
}

int textHeight(HDC dc) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return metrics.tmHeight;
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// A check of two strokes, three pixels thick, centred in the mark column.
void drawCheck(HDC dc, const RECT& box, COLORREF colour) {
  int x = box.left + (MenuItemPainter::markWidth() - 7) / 2 + 2;
  int y = (box.top + box.bottom) / 2 - 1;
  for (int i = 0; i < 3; ++i) {
    line(dc, x, y + i - 1, x + 2, y + i + 1, colour);
    line(dc, x + 2, y + i + 1, x + 7, y + i - 4, colour);
  }
}

}  // namespace

int MenuItemPainter::markWidth() { return GetSystemMetrics(SM_CXMENUCHECK) + kTextGap; }

SIZE MenuItemPainter::measure(HDC dc, const MenuItemView& item) {
  if (item.flags & MF_SEPARATOR) return SIZE{0, kSeparatorHeight};
  int width = 2 * markWidth() + textWidth(dc, beforeTab(item.text), kTextFormat);
  std::string shortcut = afterTab(item.text);
  if (!shortcut.empty()) width += kShortcutGap + textWidth(dc, shortcut, kTextFormat | DT_NOPREFIX);
  int height = std::max(textHeight(dc), GetSystemMetrics(SM_CYMENUCHECK)) + 4;
  return SIZE{width, height};
}

void MenuItemPainter::draw(HDC dc, const MenuItemView& item, const RECT& box, bool selected) {
  if (item.flags & MF_SEPARATOR) {
    fill(dc, box, GetSysColor(COLOR_MENU));
    int y = (box.top + box.bottom) / 2 - 1;
    line(dc, box.left + 1, y, box.right - 1, y, GetSysColor(COLOR_BTNSHADOW));
    line(dc, box.left + 1, y + 1, box.right - 1, y + 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    return;
  }
  bool grayed = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
  fill(dc, box, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  COLORREF ink = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  if (grayed) ink = GetSysColor(COLOR_GRAYTEXT);
  if (item.flags & MF_CHECKED) drawCheck(dc, box, ink);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldInk = SetTextColor(dc, ink);
  RECT text{box.left + markWidth(), box.top, box.right - markWidth(), box.bottom};
  std::string caption = beforeTab(item.text), shortcut = afterTab(item.text);
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text, kTextFormat);
  if (!shortcut.empty())
    DrawTextA(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  SetTextColor(dc, oldInk);
  SetBkMode(dc, oldMode);
  if (item.flags & MF_POPUP) drawArrow(dc, box, ink);
}

void MenuItemPainter::drawArrow(HDC dc, const RECT& box, COLORREF colour) {
  int middle = (box.top + box.bottom) / 2;
  int x = box.right - markWidth() / 2 - 2;
  for (int i = 0; i < 4; ++i) line(dc, x + i, middle - 3 + i, x + i, middle + 4 - i, colour);
}

void MenuItemPainter::drawFrame(HDC dc, int width, int height, int border) {
  // Light on the top and left, dark on the bottom and right, the menu's face inside.
  const int rings[3][2] = {{COLOR_3DLIGHT, COLOR_3DDKSHADOW},
                           {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
                           {COLOR_MENU, COLOR_MENU}};
  for (int i = 0; i < border && i < 3; ++i) {
    int l = i, t = i, r = width - 1 - i, b = height - 1 - i;
    COLORREF light = GetSysColor(rings[i][0]), dark = GetSysColor(rings[i][1]);
    fill(dc, RECT{l, t, r, t + 1}, light);
    fill(dc, RECT{l, t, l + 1, b}, light);
    fill(dc, RECT{l, b, r + 1, b + 1}, dark);
    fill(dc, RECT{r, t, r + 1, b + 1}, dark);
  }
}

}  // namespace vornplatform
