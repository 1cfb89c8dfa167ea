#include "plugins/vtraySetup/skin/ControlPainter.h"

#include "plugins/vtraySetup/skin/SkinColors.h"

namespace skin {

namespace {

void outline(frt::Canvas& canvas, const RECT& rect, COLORREF color) {
  canvas.setPen(color);
  canvas.setHollowBrush();
  canvas.rectangle(rect);
}

// Top and left in one colour, bottom and right in the other, width pixels deep.
void bevel(frt::Canvas& canvas, RECT r, COLORREF topLeft, COLORREF bottomRight, int width) {
  for (int i = 0; i < width; ++i) {
    canvas.setPen(topLeft);
    canvas.polyline({{r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top}});
    canvas.setPen(bottomRight);
    canvas.polyline({{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.bottom - 1}});
    InflateRect(&r, -1, -1);
  }
}

}  // namespace

RECT ControlPainter::toggleSquare(const ToggleView& view, int inset) {
  int size = GetSystemMetrics(SM_CXHTHUMB);
  const RECT& c = view.client;
  int top = c.top + inset + (c.bottom - c.top - 2 * inset - size) / 2;
  int left = view.boxAtLeft ? c.left : c.right - size;
  return RECT{left, top, left + size, top + size};
}

void ControlPainter::checkBox(frt::Canvas& canvas, const ToggleView& view,
                              const ControlState& state, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  RECT square = toggleSquare(view, 3);
  canvas.fillRect(square, view.color);
  RECT box = square;
  InflateRect(&box, -2, -2);
  COLORREF fill = frt::colorToRGB(frt::clWindow), frame = frt::colorToRGB(frt::clBtnShadow);
  if (state.hot) fill = p.selection, frame = p.selectionBorder;
  if (state.pressed()) fill = p.shade3;
  if (view.state == BST_INDETERMINATE) fill = RGB(0xC0, 0xC0, 0xC0);
  canvas.setBrush(fill);
  canvas.setPen(frame);
  canvas.rectangle(box);
  if (view.state == BST_UNCHECKED) return;
  COLORREF mark = frt::colorToRGB(frt::clHighlight);
  if (view.state == BST_INDETERMINATE) mark = RGB(0x80, 0x80, 0x80);
  if (state.pressed()) mark = frt::colorToRGB(frt::clWindow);
  if (!view.enabled) mark = p.disabled;
  canvas.setPen(mark);
  for (int i = 0; i < 3; ++i)
    canvas.polyline({{box.left + 2, box.bottom - i - 5},
                     {box.left + 4, box.bottom - i - 3},
                     {box.left + 9, box.bottom - i - 8}});
}

void ControlPainter::radioButton(frt::Canvas& canvas, const ToggleView& view,
                                 const ControlState& state, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  RECT square = toggleSquare(view, 4);
  canvas.fillRect(square, view.color);
  RECT circle = square;
  InflateRect(&circle, -2, -2);
  COLORREF fill = frt::colorToRGB(frt::clWindow), frame = frt::colorToRGB(frt::clBtnShadow);
  if (state.hot) fill = p.selection, frame = p.selectionBorder;
  else if (state.focused) fill = p.selection;
  canvas.setBrush(fill);
  canvas.setPen(frame);
  canvas.ellipse(circle.left, circle.top, circle.right, circle.bottom);
  if (view.state != BST_CHECKED) return;
  InflateRect(&circle, -2, -2);
  COLORREF dot = view.enabled ? frt::colorToRGB(frt::clHighlight) : p.disabled;
  canvas.setBrush(dot);
  canvas.setPen(dot);
  canvas.ellipse(circle.left, circle.top, circle.right, circle.bottom);
}

void ControlPainter::listFrame(frt::Canvas& canvas, const RECT& window, bool singleBorder,
                               COLORREF parentColor, bool hot, const SkinContext& context) {
  COLORREF border = context.palette.selectionBorder;
  COLORREF pen = hot ? lighten(border, singleBorder ? 60 : 80)
                     : (singleBorder ? darken(parentColor, 60) : parentColor);
  outline(canvas, window, pen);
}

void ControlPainter::editFrame(frt::Canvas& canvas, const RECT& client, bool hasBorder,
                               COLORREF ownColor, COLORREF parentColor, bool hot, bool mouseOnly,
                               const SkinContext& context) {
  COLORREF pen = hasBorder ? darken(parentColor, 60) : ownColor;
  if (!hasBorder && mouseOnly) {
    COLORREF mix = RGB((GetRValue(ownColor) + GetRValue(parentColor)) / 2,
                       (GetGValue(ownColor) + GetGValue(parentColor)) / 2,
                       (GetBValue(ownColor) + GetBValue(parentColor)) / 2);
    pen = lighten(mix, 40);
  } else if (hot) {
    pen = lighten(context.palette.selectionBorder, 60);
  }
  outline(canvas, client, pen);
}

void ControlPainter::progressFrame(frt::Canvas& canvas, const RECT& window, COLORREF parentColor,
                                   bool mouseInside, const SkinContext& context) {
  outline(canvas, window, mouseInside ? context.palette.selectionBorder : darken(parentColor, 60));
}

void ControlPainter::hotKeyFrame(frt::Canvas& canvas, const RECT& window, COLORREF parentColor,
                                 bool hot, const SkinContext& context) {
  outline(canvas, window,
          hot ? lighten(context.palette.selectionBorder, 60) : darken(parentColor, 60));
  RECT inner = window;
  InflateRect(&inner, -1, -1);
  outline(canvas, inner, frt::colorToRGB(frt::clWindow));
}

void ControlPainter::panelBevels(frt::Canvas& canvas, const RECT& client, COLORREF color,
                                 int outer, int inner, int bevelWidth, int borderWidth) {
  COLORREF dark = darken(color, 60), light = lighten(color, 60);
  RECT r = client;
  if (outer != 0) {
    bevel(canvas, r, outer == 1 ? dark : light, outer == 1 ? light : dark, bevelWidth);
    InflateRect(&r, -bevelWidth, -bevelWidth);
  }
  InflateRect(&r, -borderWidth, -borderWidth);
  if (inner != 0) bevel(canvas, r, inner == 1 ? dark : light, inner == 1 ? light : dark, bevelWidth);
}

}  // namespace skin
