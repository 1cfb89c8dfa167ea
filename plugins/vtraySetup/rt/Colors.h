// Colours of the form runtime: an RGB value, or a system colour named by its index that the
// layer's fixed scheme resolves when a painting needs the RGB value.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace frt {

using Color = uint32_t;
constexpr Color kSystemColorFlag = 0x80000000u;
constexpr Color systemColor(int index) { return kSystemColorFlag | static_cast<Color>(index); }

constexpr Color clBtnFace = systemColor(COLOR_BTNFACE);
constexpr Color clBtnShadow = systemColor(COLOR_BTNSHADOW);
constexpr Color clBtnHighlight = systemColor(COLOR_BTNHIGHLIGHT);
constexpr Color clHighlight = systemColor(COLOR_HIGHLIGHT);
constexpr Color clInactiveCaption = systemColor(COLOR_INACTIVECAPTION);
constexpr Color clWindow = systemColor(COLOR_WINDOW);
constexpr Color clWindowText = systemColor(COLOR_WINDOWTEXT);
constexpr Color clWhite = 0xFFFFFF;
constexpr Color clBlack = 0x000000;

// The RGB value (a COLORREF) of a colour.
COLORREF colorToRGB(Color color);

}  // namespace frt
