// Draws a glyph with the skin's effects: dimmed toward white, grayed then lightened, and a
// shadow of its opaque pixels; the bottom-left pixel's colour is transparent.
#pragma once

#include "plugins/vtraySetup/rt/Bitmap.h"
#include "plugins/vtraySetup/skin/SkinContext.h"

namespace skin {

struct GlyphEffects {
  int dimPercent = 0;       // lighten every pixel by this (0: no dimming)
  bool grayed = false;      // gray with grayLevel, then lighten by 40
  int grayLevel = 10;
  bool shadow = false;      // opaque pixels at +2,+2 in shadowColor first
  COLORREF shadowColor = 0;
  bool lifted = false;      // the glyph itself one pixel up and left
};

class GlyphPainter {
 public:
  static void draw(frt::Canvas& canvas, const frt::Bitmap& glyph, int x, int y,
                   const GlyphEffects& effects);
  // The glyph routine of controls: H hot, S second flag, E enabled, C pushed; drawn at
  // (x, y + 1). toolButton chooses the tool-bar shadow base.
  static void drawForControl(frt::Canvas& canvas, const frt::Bitmap* glyph, int x, int y,
                             bool h, bool s, bool e, bool c, bool toolButton,
                             const SkinContext& context);
};

}  // namespace skin
