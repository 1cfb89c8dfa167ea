// The flat paintings of push buttons, bit buttons and speed buttons: face and border colours
// by state and Tag, the rounded face and 3-D edge, and the glyph and caption placed by the
// button's layout.
#pragma once

#include <string>

#include "plugins/vtraySetup/rt/Bitmap.h"
#include "plugins/vtraySetup/skin/SkinContext.h"

namespace skin {

enum ButtonLayout { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };

struct ButtonView {
  RECT client{0, 0, 0, 0};
  COLORREF parentColor = 0;
  int tag = 0;
  bool enabled = true;
  bool isDefault = false;
  bool rightToLeft = false;
  std::string caption;
  frt::FontStyle font;
  const frt::Bitmap* glyph = nullptr;
  int numGlyphs = 1;
  ButtonLayout layout = GlyphLeft;
  int spacing = 4;
  // Speed buttons.
  bool down = false;
  bool flat = false;
  bool transparent = false;
  bool navButton = false;
  POINT cursor{-1, -1};  // in client coordinates
};

struct GlyphTextRects {
  RECT glyph;
  RECT text;
};

class ButtonPainter {
 public:
  // A glyph count is 1 to 4, whatever the button says.
  static int glyphCount(int numGlyphs);
  static GlyphTextRects layout(ButtonLayout layout, SIZE client, SIZE glyph, SIZE text,
                               int spacing);
  // The glyph cell (1 to 4) a speed button shows.
  static int speedCell(int numGlyphs, bool enabled, bool pressed, bool down);
  static void pushButton(frt::Canvas& canvas, const ButtonView& view, const ControlState& state,
                         const SkinContext& context);
  static void bitButton(frt::Canvas& canvas, const ButtonView& view, const ControlState& state,
                        const SkinContext& context);
  static void speedButton(frt::Canvas& canvas, const ButtonView& view, ControlState state,
                          const SkinContext& context);
};

}  // namespace skin
