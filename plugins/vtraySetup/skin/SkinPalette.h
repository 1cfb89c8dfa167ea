// The colours every skinned painting uses, derived from the skin's colour properties, the
// system colours and the display depth (deep: more than 15 bits per pixel).
#pragma once

#include "plugins/vtraySetup/rt/Colors.h"

namespace skin {

// The skin's colour properties with their defaults.
struct SkinColorSettings {
  frt::Color color = frt::clBtnFace;
  frt::Color iconBackColor = frt::clBtnFace;
  frt::Color menuBarColor = frt::clBtnFace;
  frt::Color selectColor = frt::clHighlight;
  frt::Color selectBorderColor = frt::clHighlight;
  frt::Color selectFontColor = frt::clWindowText;
  frt::Color disabledColor = frt::clInactiveCaption;
  frt::Color separatorColor = frt::clBtnFace;
  frt::Color checkedColor = frt::clHighlight;
  frt::Color fontColor = frt::clWindowText;
  bool useSystemColors = true;
  bool useDimColor = false;
};

// RGB values, resolved when computed.
struct SkinPalette {
  COLORREF menu, iconBack, selection, selectionBorder, selectionFont, menuBar;
  COLORREF disabled, checked, separator;
  COLORREF shade1, shade2, shade3;  // the first, second and third selection shades
  COLORREF shadow1, shadow2;        // flat menu frame shadows
};

SkinPalette computePalette(const SkinColorSettings& settings, bool deepDisplay);

}  // namespace skin
