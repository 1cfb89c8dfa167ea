#include "plugins/vtraySetup/skin/SkinPalette.h"

#include "plugins/vtraySetup/skin/SkinColors.h"

namespace skin {

namespace {

using frt::colorToRGB;

void applySystemColors(SkinPalette& p, bool deep) {
  COLORREF face = colorToRGB(frt::clBtnFace), highlight = colorToRGB(frt::clHighlight);
  COLORREF shadow = colorToRGB(frt::clBtnShadow), white = RGB(255, 255, 255);
  p.selectionBorder = highlight;
  p.menuBar = face;
  p.checked = highlight;
  if (deep) {
    p.menu = lighten(face, 86);
    p.iconBack = lighten(face, 16);
    p.selection = lighten(highlight, 68);
    p.disabled = lighten(shadow, 10);
    p.separator = lighten(shadow, 25);
    p.shade2 = lighten(highlight, 80);
    p.shade3 = lighten(highlight, 50);
  } else {
    p.menu = white;
    p.iconBack = face;
    p.selection = white;
    p.disabled = shadow;
    p.separator = shadow;
    p.shade2 = white;
    p.shade3 = white;
  }
}

}  // namespace

SkinPalette computePalette(const SkinColorSettings& s, bool deep) {
  SkinPalette p{};
  p.menu = colorToRGB(s.color);
  p.iconBack = colorToRGB(s.iconBackColor);
  p.selection = colorToRGB(s.selectColor);
  p.selectionBorder = colorToRGB(s.selectBorderColor);
  p.selectionFont = colorToRGB(s.selectFontColor);
  p.menuBar = colorToRGB(s.menuBarColor);
  p.disabled = colorToRGB(s.disabledColor);
  p.checked = colorToRGB(s.checkedColor);
  p.separator = colorToRGB(s.separatorColor);
  COLORREF select = colorToRGB(s.selectColor);
  if (deep) {
    p.shade1 = s.useDimColor ? lighten(select, 68) : select;
    p.shade2 = s.useDimColor ? lighten(select, 80) : select;
    p.shade3 = s.useDimColor ? lighten(select, 50) : select;
    COLORREF face = colorToRGB(frt::clBtnFace);
    p.shadow1 = darken(face, 90);
    p.shadow2 = darken(face, 76);
  } else {
    p.shade1 = select;
    p.shade2 = RGB(255, 255, 255);
    p.shade3 = RGB(0xC0, 0xC0, 0xC0);
    p.shadow1 = p.shadow2 = colorToRGB(frt::clBtnShadow);
  }
  if (s.useSystemColors) {
    p.selectionFont = colorToRGB(s.fontColor);
    applySystemColors(p, deep);
  }
  return p;
}

}  // namespace skin
