// The flat paintings of check boxes, list frames and panel bevels, read back pixel by pixel,
// and the same paintings on a hooked form.
#include "plugins/vtraySetup/rt/Bitmap.h"
#include "plugins/vtraySetup/skin/ControlPainter.h"
#include "plugins/vtraySetup/skin/SkinColors.h"
#include "plugins/vtraySetup/tests/FormFixture.h"

namespace {

using namespace skin;

const COLORREF kFace = RGB(240, 240, 240);

SkinContext deepContext() {
  SkinContext context;
  context.palette = computePalette(SkinColorSettings(), true);
  return context;
}

// The box of a 17-pixel-high check box: a 17 square at (0,0), drawn 2 pixels in.
struct CheckBoxCase {
  ControlState state;
  int boxState;
  bool enabled;
  COLORREF fill, frame, mark;
};

TEST(ControlPaintingTest, CheckBoxSquareFrameAndThreeStrokeMarkInEveryState) {
  SkinContext context = deepContext();
  const SkinPalette& p = context.palette;
  COLORREF window = GetSysColor(COLOR_WINDOW), highlight = GetSysColor(COLOR_HIGHLIGHT);
  ControlState rest, hot, pressed;
  hot.hot = true;
  pressed.leftDown = true;
  const CheckBoxCase cases[] = {
      {rest, BST_CHECKED, true, window, GetSysColor(COLOR_BTNSHADOW), highlight},
      {hot, BST_CHECKED, true, p.selection, p.selectionBorder, highlight},
      {pressed, BST_CHECKED, true, p.shade3, GetSysColor(COLOR_BTNSHADOW), window},
      {rest, BST_INDETERMINATE, true, RGB(0xC0, 0xC0, 0xC0), GetSysColor(COLOR_BTNSHADOW),
       RGB(0x80, 0x80, 0x80)},
      {rest, BST_CHECKED, false, window, GetSysColor(COLOR_BTNSHADOW), p.disabled},
  };
  for (const CheckBoxCase& c : cases) {
    frt::Bitmap bitmap(40, 17);
    bitmap.fill(RGB(1, 1, 1));
    ToggleView view;
    view.client = RECT{0, 0, 40, 17};
    view.color = kFace;
    view.state = c.boxState;
    view.enabled = c.enabled;
    ControlPainter::checkBox(bitmap.canvas(), view, c.state, context);
    EXPECT_EQ(bitmap.pixel(0, 0), kFace);      // the square in the control's colour
    EXPECT_EQ(bitmap.pixel(16, 16), kFace);
    EXPECT_EQ(bitmap.pixel(17, 8), RGB(1, 1, 1));  // the text side untouched
    EXPECT_EQ(bitmap.pixel(2, 2), c.frame);
    EXPECT_EQ(bitmap.pixel(14, 14), c.frame);
    EXPECT_EQ(bitmap.pixel(15, 15), kFace);
    EXPECT_EQ(bitmap.pixel(12, 4), c.fill);
    // Strokes from (4, 10-i) through (6, 12-i) to (11, 7-i); each line stops before its end.
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(bitmap.pixel(4, 10 - i), c.mark) << i;
      EXPECT_EQ(bitmap.pixel(6, 12 - i), c.mark) << i;
      EXPECT_EQ(bitmap.pixel(10, 8 - i), c.mark) << i;
    }
    EXPECT_EQ(bitmap.pixel(11, 7), c.fill);
  }
}

TEST(ControlPaintingTest, ListFramePenFollowsHotAndBorderAndPanelBevelsSwapForLowered) {
  SkinContext context = deepContext();
  COLORREF border = context.palette.selectionBorder;
  frt::Bitmap bitmap(20, 20);
  RECT all{0, 0, 20, 20};
  ControlPainter::listFrame(bitmap.canvas(), all, true, kFace, false, context);
  EXPECT_EQ(bitmap.pixel(0, 0), darken(kFace, 60));
  EXPECT_EQ(bitmap.pixel(19, 19), darken(kFace, 60));
  EXPECT_EQ(bitmap.pixel(1, 1), RGB(0, 0, 0));  // no fill
  ControlPainter::listFrame(bitmap.canvas(), all, true, kFace, true, context);
  EXPECT_EQ(bitmap.pixel(0, 10), lighten(border, 60));
  ControlPainter::listFrame(bitmap.canvas(), all, false, kFace, true, context);
  EXPECT_EQ(bitmap.pixel(10, 0), lighten(border, 80));
  ControlPainter::listFrame(bitmap.canvas(), all, false, kFace, false, context);
  EXPECT_EQ(bitmap.pixel(10, 19), kFace);

  ControlPainter::panelBevels(bitmap.canvas(), all, kFace, 1, 0, 1, 0);
  EXPECT_EQ(bitmap.pixel(0, 5), darken(kFace, 60));
  EXPECT_EQ(bitmap.pixel(19, 5), lighten(kFace, 60));
  ControlPainter::panelBevels(bitmap.canvas(), all, kFace, 2, 0, 1, 0);
  EXPECT_EQ(bitmap.pixel(5, 0), lighten(kFace, 60));
  EXPECT_EQ(bitmap.pixel(5, 19), darken(kFace, 60));
}

TEST_F(FormFixture, AHookedFormShowsTheFlatBoxAndListFrame) {
  box->setChecked(true);
  skin->setActive(true);
  EXPECT_EQ(pixel(box, 2, 2), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pixel(box, 5, 11), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(pixel(list, 0, 0), darken(kFace, 60));
  EXPECT_EQ(pixel(list, 199, 99), darken(kFace, 60));
  box->perform(WM_SETFOCUS);
  EXPECT_EQ(pixel(box, 2, 2), skin->context().palette.selectionBorder);
}

}  // namespace
