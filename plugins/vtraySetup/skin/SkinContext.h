// What a skinned painting reads from the skin: the palette, the display depth and the
// properties that paintings consult directly.
#pragma once

#include "plugins/vtraySetup/rt/FontStyle.h"
#include "plugins/vtraySetup/skin/SkinPalette.h"

namespace skin {

struct SkinContext {
  SkinPalette palette{};
  int bitsPerPixel = 32;
  bool useSystemColors = true;
  COLORREF selectColor = 0;
  int dimLevel = 30;
  int grayLevel = 10;
  int iconWidth = 24;
  bool drawSelect = true;
  bool gradient = false;
  bool drawMenuBar = false;
  frt::FontStyle font;
  bool deep() const { return bitsPerPixel > 15; }
};

// The hook's flags of one control.
struct ControlState {
  bool hot = false;
  bool focused = false;
  bool leftDown = false;
  bool spaceDown = false;
  bool pressed() const { return leftDown || spaceDown; }
};

}  // namespace skin
