#include "plugins/vtraySetup/skin/BarPainter.h"

#include "plugins/vtraySetup/skin/CaptionPainter.h"
#include "plugins/vtraySetup/skin/GlyphPainter.h"
#include "plugins/vtraySetup/skin/SkinColors.h"

namespace skin {

namespace {

bool usable(const frt::ImageList* list, int index) {
  return list != nullptr && index != -1 && index <= list->count() - 1;
}

void arrow(frt::Canvas& canvas, int x, int y, COLORREF color) {
  canvas.setPen(color);
  canvas.line(x, y, x + 5, y);
  canvas.line(x + 1, y + 1, x + 4, y + 1);
  canvas.line(x + 2, y + 2, x + 3, y + 2);
}

void stateFill(frt::Canvas& canvas, const ToolButtonView& v, COLORREF f, COLORREF b,
               const SkinContext& context) {
  const SkinPalette& p = context.palette;
  const RECT& r = v.bounds;
  bool fills = false, framed = false;
  COLORREF fill = b;
  if (v.hasMenuItem && v.state == 0) fill = v.color, fills = !v.transparent;
  // In this order: a button both checked and indeterminate takes the indeterminate colour
  // and keeps the checked frame.
  if ((v.state & CDIS_CHECKED) && !(v.state & CDIS_HOT)) fill = p.shade2, fills = framed = true;
  if ((v.state & CDIS_INDETERMINATE) && !(v.state & CDIS_HOT)) fill = f, fills = true;
  if (v.state & CDIS_HOT) {
    bool deeper = (v.state & (CDIS_CHECKED | CDIS_SELECTED)) || v.down;
    fill = deeper ? p.shade3 : f;
    fills = framed = true;
  }
  if (fills) canvas.fillRect(RECT{r.left, r.top + 1, r.right, r.bottom}, fill);
  if (!framed) return;
  if (v.dropDown) {
    canvas.frameRect(RECT{r.left, r.top + 1, r.right - 14, r.bottom}, p.selectionBorder);
    canvas.frameRect(RECT{r.right - 14, r.top + 1, r.right, r.bottom}, p.selectionBorder);
  } else {
    canvas.frameRect(RECT{r.left, r.top + 1, r.right, r.bottom}, p.selectionBorder);
  }
}

void selectedMenuLook(frt::Canvas& canvas, const ToolButtonView& v, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  RECT r{v.bounds.left, v.bounds.top + 1, v.bounds.right, v.bounds.bottom};
  canvas.fillRect(r, p.selection);
  canvas.setPen(p.selectionBorder);
  canvas.polyline({{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 3, r.top}, {r.right - 3, r.bottom - 1}});
  canvas.fillRect(RECT{r.right - 2, r.top + 2, r.right, r.bottom}, darken(v.color, 70));
  canvas.fillRect(RECT{r.right - 2, r.top, r.right, r.top + 2}, v.color);
}

}  // namespace

const frt::ImageList* BarPainter::imagesFor(const ToolButtonView& v) {
  if ((v.state & CDIS_HOT) && usable(v.hotImages, v.imageIndex)) return v.hotImages;
  if ((v.state & CDIS_DISABLED) && usable(v.disabledImages, v.imageIndex)) return v.disabledImages;
  if (usable(v.images, v.imageIndex)) return v.images;
  return nullptr;
}

bool BarPainter::toolButton(frt::Canvas& canvas, const ToolButtonView& v,
                            const SkinContext& context) {
  const SkinPalette& p = context.palette;
  COLORREF f = context.deep() && !context.useSystemColors ? lighten(context.selectColor, 68) : p.selection;
  COLORREF b = context.deep() ? lighten(v.color, 16) : v.color;
  const RECT& r0 = v.bounds;
  if (!v.transparent) canvas.fillRect(r0, b);
  stateFill(canvas, v, f, b, context);
  if ((v.hasMenuItem || v.hasDropdownMenu) && (v.state & CDIS_SELECTED)) selectedMenuLook(canvas, v, context);
  if (v.dropDown) arrow(canvas, r0.right - 10, r0.top + 1 + (r0.bottom - r0.top - 3) / 2, RGB(0, 0, 0));
  const frt::ImageList* list = imagesFor(v);
  int gw = 0;
  if (list) {
    frt::Bitmap work(list->width(), list->height());
    work.fill(0xFF00FF);
    list->draw(work.canvas(), v.imageIndex, 0, 0);
    gw = work.width();
    RECT g = r0;
    if (v.dropDown) g.right -= 12;
    if (!v.list) g.left = roundHalfEven((g.right - g.left - gw) / 2.0) + g.left;
    else if (!v.rightToLeft) g.left = r0.left + 3;
    else g.right -= 3, g.left = g.right - gw;
    g.top = r0.top + 2;
    GlyphPainter::drawForControl(canvas, &work, g.left, g.top, v.state & CDIS_HOT,
                                 v.state & CDIS_SELECTED, v.enabled, v.state & CDIS_CHECKED, true,
                                 context);
  }
  if (v.showCaptions) {
    CaptionRequest q;
    q.text = v.caption;
    q.rect = r0;
    if (v.dropDown) q.rect.right -= 12;
    q.font = context.font;
    if (!v.list) {
      canvas.setFont(context.font);
      q.format = DT_CENTER;
      q.rect.top = r0.bottom - canvas.textHeight(v.caption) - 6;
    } else if (!v.rightToLeft) {
      q.format = DT_VCENTER;
      if (gw > 0) q.rect.left += gw + 6;
    } else {
      q.format = DT_VCENTER | DT_RIGHT;
      q.rect.right -= gw + 7;
    }
    if (v.hasMenuItem) q.format = DT_CENTER;
    if (v.rightToLeft) q.format |= DT_RTLREADING;
    if (v.down && !v.enabled) InflateRect(&q.rect, -1, -1);
    q.selected = v.state & CDIS_SELECTED;
    q.enabled = v.enabled;
    q.menuBound = v.hasMenuItem;
    q.disabledToolButton = !v.enabled;
    CaptionPainter::draw(canvas, q, context);
  }
  if (v.separatorBefore) {
    const RECT& s = v.separatorBounds;
    if (!v.transparent) canvas.fillRect(s, b);
    if (v.separatorTag > 0) {
      int x = s.left + (s.right - s.left) / 2;
      canvas.setPen(darken(v.color, 30));
      canvas.line(x, s.top + 2, x, s.bottom - 1);
    }
  }
  return false;
}

void BarPainter::band(frt::Canvas& canvas, const RECT& rect, COLORREF color,
                      const SkinContext& context) {
  canvas.fillRect(rect, context.deep() ? lighten(color, 6) : color);
  int k = 0;
  for (int y = rect.top + 5; y <= rect.bottom - 5; ++y) {
    if (y % 2 != 0) continue;
    canvas.setPen(darken(color, 30 + 7 * k++));
    canvas.line(rect.left + 3, y, rect.left + 6, y);
  }
}

}  // namespace skin
