#include "plugins/vtraySetup/skin/CaptionPainter.h"

#include "plugins/vtraySetup/rt/Bitmap.h"
#include "plugins/vtraySetup/skin/SkinColors.h"

namespace skin {

namespace {

// The text goes through a picture of the rectangle in the canvas's brush colour, so what lay
// under the rectangle is covered.
void drawDisabledToolButton(frt::Canvas& canvas, const CaptionRequest& q, const RECT& r,
                            COLORREF disabled) {
  int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return;
  frt::Bitmap work(width, height);
  work.fill(canvas.brushColor());
  frt::Canvas& text = work.canvas();
  text.setFont(q.font);
  text.setTextColor(disabled);
  text.setTransparentText();
  RECT local{0, 0, width, height};
  text.drawText(q.text, &local, q.format | DT_EXPANDTABS | DT_VCENTER);
  BitBlt(canvas.handle(), r.left, r.top, width, height, work.dc(), 0, 0, SRCCOPY);
}

}  // namespace

SIZE CaptionPainter::extent(frt::Canvas& canvas, const std::string& text,
                            const frt::FontStyle& font, bool rightToLeft) {
  if (text.empty()) return SIZE{0, 0};
  canvas.setFont(font);
  RECT r{0, 0, 0, 0};
  canvas.drawText(text, &r, DT_CALCRECT | (rightToLeft ? DT_RTLREADING : 0));
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void CaptionPainter::draw(frt::Canvas& canvas, const CaptionRequest& q, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  canvas.setFont(q.font);
  COLORREF color = frt::colorToRGB(q.font.color);
  if (q.selected) color = p.selectionFont;
  if (!q.enabled) color = p.disabled;
  RECT r = q.rect;
  if (q.disabledToolButton) {
    r.top += (r.bottom - r.top - canvas.textHeight("W")) / 2;
    drawDisabledToolButton(canvas, q, r, p.disabled);
    return;
  }
  if (q.menuBound && q.selected && context.useSystemColors) color = textColorOn(p.iconBack, color);
  canvas.setTransparentText();
  if (q.enabled && q.glow) {
    struct Copy { int dl, dt, dr, n; };
    const Copy copies[4] = {{1, 0, 0, 30}, {1, 2, 1, 30}, {0, 1, 0, 40}, {1, 1, 1, 60}};
    for (const Copy& c : copies) {
      RECT g{r.left + c.dl, r.top + c.dt, r.right + c.dr, r.bottom};
      canvas.setTextColor(darken(canvas.pixel(g.left, g.top), c.n));
      canvas.drawText(q.text, &g, q.format | DT_EXPANDTABS);
    }
  }
  canvas.setTextColor(color);
  canvas.drawTextEx(q.text, &r, q.format | DT_EXPANDTABS);
}

}  // namespace skin
