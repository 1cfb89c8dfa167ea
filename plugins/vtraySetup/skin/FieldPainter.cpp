#include "plugins/vtraySetup/skin/FieldPainter.h"

#include "plugins/vtraySetup/skin/SkinColors.h"

namespace skin {

namespace {

// Three strokes of 5, 3 and 1 pixels from (x, y), pointing down (or up).
void triangle(frt::Canvas& canvas, int x, int y, bool down, COLORREF color) {
  canvas.setPen(color);
  for (int i = 0; i < 3; ++i) {
    int row = down ? y + i : y + 2 - i;
    canvas.line(x + i, row, x + 5 - i, row);
  }
}

void box(frt::Canvas& canvas, const RECT& r, COLORREF fill, COLORREF frame) {
  canvas.setPen(frame);
  canvas.setBrush(fill);
  canvas.rectangle(r);
}

}  // namespace

int FieldPainter::halfAt(const RECT& c, POINT p) {
  if (p.x < c.left || p.x >= c.right || p.y < c.top || p.y >= c.bottom) return -1;
  return p.y < c.top + (c.bottom - c.top) / 2 ? 0 : 1;
}

void FieldPainter::upDown(frt::Canvas& canvas, const UpDownView& v, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  int middle = v.client.top + (v.client.bottom - v.client.top) / 2;
  RECT halves[2] = {{v.client.left, v.client.top, v.client.right, middle},
                    {v.client.left, middle, v.client.right, v.client.bottom}};
  for (int i = 0; i < 2; ++i) {
    const RECT& r = halves[i];
    COLORREF fill = lighten(p.selection, 16), frame = lighten(v.parentColor, 80);
    COLORREF arrow = RGB(0, 0, 0);
    if (i == v.hotHalf) {
      fill = v.pressed ? p.shade3 : lighten(p.selection, 60);
      frame = p.selectionBorder;
      if (v.pressed) arrow = RGB(255, 255, 255);
    }
    box(canvas, r, fill, frame);
    int x = r.left + (r.right - r.left - 5) / 2, y = r.top + (r.bottom - r.top - 3) / 2;
    triangle(canvas, x, y, i == 1, arrow);
  }
}

RECT FieldPainter::comboButton(const ComboView& v) {
  int thumb = GetSystemMetrics(SM_CXHTHUMB);
  RECT inner{v.client.left + 1, v.client.top + 1, v.client.right - 1, v.client.bottom - 1};
  if (v.rightToLeft) return RECT{inner.left, inner.top, inner.left + thumb, inner.bottom};
  return RECT{inner.right - thumb, inner.top, inner.right, inner.bottom};
}

void FieldPainter::combo(frt::Canvas& canvas, const ComboView& v, bool hot,
                         const SkinContext& context) {
  const SkinPalette& p = context.palette;
  canvas.frameRect(v.client, hot ? p.selectionBorder : v.parentColor);
  RECT inner{v.client.left + 1, v.client.top + 1, v.client.right - 1, v.client.bottom - 1};
  canvas.frameRect(inner, v.color);
  if (v.simpleStyle) return;
  COLORREF fill = v.tag == 1000 ? lighten(v.parentColor, 16) : frt::colorToRGB(frt::clBtnFace);
  if (hot) fill = p.selection;
  if (v.droppedDown) fill = p.shade3;
  RECT button = comboButton(v);
  canvas.fillRect(button, fill);
  RECT strip = v.rightToLeft ? RECT{button.right - 5, button.top, button.right, button.bottom}
                             : RECT{button.left, button.top, button.left + 5, button.bottom};
  canvas.fillRect(strip, v.color);
  int x = v.rightToLeft ? button.left + (button.right - 5 - button.left - 5) / 2
                        : button.left + 5 + (button.right - button.left - 5 - 5) / 2;
  triangle(canvas, x, v.client.top + 10, true, RGB(0, 0, 0));
}

void FieldPainter::richEditFrame(frt::Canvas& canvas, const RECT& window, bool wasSingleBorder,
                                 COLORREF parentColor, bool hot, const SkinContext& context) {
  COLORREF color = hot ? lighten(context.palette.selectionBorder, 60)
                       : (wasSingleBorder ? darken(parentColor, 60) : parentColor);
  canvas.frameRect(window, color);
}

}  // namespace skin
