// The skin's caption routine for controls: text colour by state, the disabled tool-button
// look, the glow of a default button, and the text drawn transparently.
#pragma once

#include <string>

#include "plugins/vtraySetup/rt/Canvas.h"
#include "plugins/vtraySetup/skin/SkinContext.h"

namespace skin {

struct CaptionRequest {
  std::string text;
  RECT rect{0, 0, 0, 0};
  UINT format = 0;
  frt::FontStyle font;
  bool enabled = true;
  bool selected = false;
  bool menuBound = false;
  bool glow = false;
  bool disabledToolButton = false;
};

class CaptionPainter {
 public:
  static void draw(frt::Canvas& canvas, const CaptionRequest& request, const SkinContext& context);
  // The extent DrawText gives the text in the font (0 by 0 for an empty text).
  static SIZE extent(frt::Canvas& canvas, const std::string& text, const frt::FontStyle& font,
                     bool rightToLeft);
};

}  // namespace skin
