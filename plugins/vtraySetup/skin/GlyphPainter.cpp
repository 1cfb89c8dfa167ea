#include "plugins/vtraySetup/skin/GlyphPainter.h"

#include "plugins/vtraySetup/skin/SkinColors.h"

namespace skin {

namespace {

COLORREF effectOn(COLORREF c, const GlyphEffects& e) {
  if (e.dimPercent > 0) c = lighten(c, e.dimPercent);
  if (e.grayed) c = lighten(gray(c, e.grayLevel), 40);
  return c;
}

}  // namespace

void GlyphPainter::draw(frt::Canvas& canvas, const frt::Bitmap& glyph, int x, int y,
                        const GlyphEffects& effects) {
  COLORREF clear = glyph.pixel(0, glyph.height() - 1);
  if (effects.shadow)
    for (int py = 0; py < glyph.height(); ++py)
      for (int px = 0; px < glyph.width(); ++px)
        if (glyph.pixel(px, py) != clear) canvas.setPixel(x + px + 2, y + py + 2, effects.shadowColor);
  int at = effects.lifted ? -1 : 0;
  for (int py = 0; py < glyph.height(); ++py)
    for (int px = 0; px < glyph.width(); ++px) {
      COLORREF c = glyph.pixel(px, py);
      if (c != clear) canvas.setPixel(x + px + at, y + py + at, effectOn(c, effects));
    }
}

void GlyphPainter::drawForControl(frt::Canvas& canvas, const frt::Bitmap* glyph, int x, int y,
                                  bool h, bool s, bool e, bool c, bool toolButton,
                                  const SkinContext& context) {
  if (glyph == nullptr || glyph->width() <= 0) return;
  GlyphEffects effects;
  effects.lifted = h && e && !c && !s;
  if (!h && e && !c && context.deep()) effects.dimPercent = context.dimLevel;
  effects.grayed = !e;
  effects.grayLevel = context.grayLevel;
  if (h && e && !c) {
    effects.shadow = true;
    COLORREF base = toolButton && context.deep() && !context.useSystemColors
                        ? lighten(context.selectColor, 68)
                        : context.palette.selection;
    effects.shadowColor = darken(base, 50);
  }
  draw(canvas, *glyph, x, y + 1, effects);
}

}  // namespace skin
