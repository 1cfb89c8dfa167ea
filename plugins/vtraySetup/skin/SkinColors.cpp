#include "plugins/vtraySetup/skin/SkinColors.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace skin {

namespace {

int clampChannel(int value) { return std::min(255, std::max(0, value)); }

// (255 - x) * p / 100 in whole numbers, halves to even, so no float error decides a pixel.
int lightenChannel(int x, int percent) {
  int scaled = (255 - x) * percent;
  int whole = scaled / 100, rest = scaled % 100;
  if (rest > 50 || (rest == 50 && (whole & 1))) ++whole;
  return x + whole;
}

}  // namespace

int roundHalfEven(double value) {
  int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  double rounded = std::nearbyint(value);
  std::fesetround(saved);
  return static_cast<int>(rounded);
}

COLORREF lighten(COLORREF color, int percent) {
  percent = std::min(100, std::max(0, percent));
  return RGB(lightenChannel(GetRValue(color), percent), lightenChannel(GetGValue(color), percent),
             lightenChannel(GetBValue(color), percent));
}

COLORREF darken(COLORREF color, int amount) {
  return RGB(clampChannel(GetRValue(color) - amount), clampChannel(GetGValue(color) - amount + 2),
             clampChannel(GetBValue(color) - amount));
}

COLORREF gray(COLORREF color, int amount) {
  int v = amount + (GetRValue(color) + GetGValue(color) + GetBValue(color)) / 3;
  v = clampChannel(std::min(240, v));
  return RGB(v, v, v);
}

COLORREF textColorOn(COLORREF background, COLORREF fontColor) {
  int red = GetRValue(background), green = GetGValue(background), blue = GetBValue(background);
  if ((red + blue) / 2 > 150 || green > 200) return fontColor;
  return lighten(background, 90);
}

}  // namespace skin
