// The skin's colour arithmetic (halves to even) and the palette in its four branches.
#include <gtest/gtest.h>

#include "plugins/vtraySetup/skin/SkinColors.h"
#include "plugins/vtraySetup/skin/SkinPalette.h"

namespace {

using namespace skin;

TEST(SkinColorsTest, LightenRoundsHalvesToEvenAndTheOthersClampAndFloor) {
  // Channel steps of 1.5, 2.5 and 63.75...: 2, 2 and 128 (127.5 goes to the even 128).
  EXPECT_EQ(lighten(RGB(252, 250, 0), 50), RGB(254, 252, 128));
  EXPECT_EQ(lighten(RGB(240, 240, 240), 30), RGB(244, 244, 244));  // 4.5 -> 4
  EXPECT_EQ(lighten(RGB(0, 120, 215), 68), RGB(173, 212, 242));
  EXPECT_EQ(lighten(RGB(0, 0, 0), 150), RGB(255, 255, 255));  // at most 100 percent
  EXPECT_EQ(darken(RGB(10, 250, 100), 30), RGB(0, 222, 70));
  EXPECT_EQ(darken(RGB(100, 255, 100), 1), RGB(99, 255, 99));  // green kept within 255
  EXPECT_EQ(gray(RGB(255, 255, 255), 10), RGB(240, 240, 240));
  EXPECT_EQ(gray(RGB(10, 20, 31), 10), RGB(30, 30, 30));
  EXPECT_EQ(textColorOn(RGB(0, 201, 0), RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(textColorOn(RGB(0, 0, 100), RGB(1, 2, 3)), lighten(RGB(0, 0, 100), 90));
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(3.5), 4);
}

TEST(SkinPaletteTest, SystemColoursAndDepthChooseTheBranch) {
  COLORREF face = GetSysColor(COLOR_BTNFACE), highlight = GetSysColor(COLOR_HIGHLIGHT);
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), white = RGB(255, 255, 255);
  SkinColorSettings settings;
  settings.fontColor = RGB(1, 2, 3);
  SkinPalette deep = computePalette(settings, true);
  EXPECT_EQ(deep.iconBack, lighten(face, 16));
  EXPECT_EQ(deep.selection, lighten(highlight, 68));
  EXPECT_EQ(deep.selectionFont, RGB(1, 2, 3));
  EXPECT_EQ(deep.shadow1, darken(face, 90));
  SkinPalette shallow = computePalette(settings, false);
  EXPECT_EQ(shallow.menu, white);
  EXPECT_EQ(shallow.shadow1, shadow);

  settings.useSystemColors = false;
  settings.useDimColor = true;
  settings.selectColor = RGB(0, 0, 200);
  settings.disabledColor = RGB(9, 9, 9);
  SkinPalette own = computePalette(settings, true);
  EXPECT_EQ(own.selection, RGB(0, 0, 200));
  EXPECT_EQ(own.disabled, RGB(9, 9, 9));
  EXPECT_EQ(own.shade1, lighten(RGB(0, 0, 200), 68));
  SkinPalette ownShallow = computePalette(settings, false);
  EXPECT_EQ(ownShallow.shade2, white);
  EXPECT_EQ(ownShallow.shade3, RGB(0xC0, 0xC0, 0xC0));
}

}  // namespace
