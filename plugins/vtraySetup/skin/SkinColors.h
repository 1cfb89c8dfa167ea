// The colour arithmetic of the flat skin on RGB values: lighten toward white, darken with the
// green channel kept 2 brighter, gray at a brightness, and a readable text colour.
#pragma once

#include "platform/win32.h"

namespace skin {

// Half to even: the one rounding rule the skin uses wherever it rounds.
int roundHalfEven(double value);
// Each channel x becomes x + round((255 - x) * percent / 100); percent is at most 100.
COLORREF lighten(COLORREF color, int percent);
// Red and blue less amount, green less amount - 2, each kept within 0..255.
COLORREF darken(COLORREF color, int amount);
// v = amount + (r + g + b) / 3, at most 240, as a gray.
COLORREF gray(COLORREF color, int amount);
// The font colour on a light background, else the background lightened by 90.
COLORREF textColorOn(COLORREF background, COLORREF fontColor);

}  // namespace skin
