// Skinned buttons, group boxes, tool buttons and bands drawn off screen and read back at the
// pixels their rules fix.
#include <gtest/gtest.h>

#include <set>

#include "plugins/vtraySetup/rt/Bitmap.h"
#include "plugins/vtraySetup/rt/Buttons.h"
#include "plugins/vtraySetup/skin/BarPainter.h"
#include "plugins/vtraySetup/skin/ButtonPainter.h"
#include "plugins/vtraySetup/skin/GroupBoxPainter.h"
#include "plugins/vtraySetup/skin/SkinColors.h"
#include "plugins/vtraySetup/tests/FormFixture.h"

namespace {

using namespace skin;

const COLORREF kParent = RGB(200, 210, 220);

class ButtonPaintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context.palette = computePalette(SkinColorSettings(), true);
    view.client = RECT{0, 0, 75, 25};
    view.parentColor = kParent;
  }
  SkinContext context;
  ButtonView view;
  frt::Bitmap target{75, 25};
};

TEST_F(ButtonPaintingTest, LayoutsGlyphCellsAndCountClamp) {
  GlyphTextRects r = ButtonPainter::layout(GlyphLeft, {75, 25}, {16, 16}, {40, 13}, 4);
  EXPECT_EQ(r.glyph.left, 7);
  EXPECT_EQ(r.text.left, 27);
  r = ButtonPainter::layout(GlyphRight, {75, 25}, {16, 16}, {40, 13}, 4);
  EXPECT_EQ(r.glyph.right, 67);  // (4 + 16 + 40 + 75) / 2
  EXPECT_EQ(r.text.right, r.glyph.left - 4);
  r = ButtonPainter::layout(GlyphBottom, {75, 45}, {16, 16}, {40, 13}, 4);
  EXPECT_EQ(r.glyph.bottom, 39);  // (16 + 4 + 13 + 45) / 2
  EXPECT_EQ(r.text.bottom, r.glyph.top - 4);
  EXPECT_EQ(ButtonPainter::glyphCount(0), 1);
  EXPECT_EQ(ButtonPainter::glyphCount(9), 4);
  EXPECT_EQ(ButtonPainter::speedCell(2, false, false, false), 2);
  EXPECT_EQ(ButtonPainter::speedCell(4, true, true, true), 4);
}

TEST_F(ButtonPaintingTest, PushButtonEdgeFollowsPressingAndBitButtonTag1001DropsIt) {
  ControlState rest, pressed;
  pressed.spaceDown = true;
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  ButtonPainter::pushButton(target.canvas(), view, rest, context);
  EXPECT_EQ(target.pixel(0, 0), kParent);  // the rounded corner shows the parent
  EXPECT_EQ(target.pixel(37, 12), context.palette.iconBack);
  EXPECT_EQ(target.pixel(74, 12), darken(shadow, 50));
  EXPECT_EQ(target.pixel(37, 24), darken(shadow, 50));
  EXPECT_EQ(target.pixel(37, 0), lighten(shadow, 30));
  ButtonPainter::pushButton(target.canvas(), view, pressed, context);
  EXPECT_EQ(target.pixel(37, 0), darken(shadow, 50));  // space down: pressed, not hot
  EXPECT_EQ(target.pixel(0, 12), darken(shadow, 50));
  EXPECT_EQ(target.pixel(74, 12), lighten(shadow, 30));

  view.tag = 1001;  // a push button compares the whole Tag with 1000
  ButtonPainter::pushButton(target.canvas(), view, rest, context);
  EXPECT_EQ(target.pixel(37, 12), context.palette.iconBack);
  ButtonPainter::bitButton(target.canvas(), view, rest, context);
  COLORREF face = lighten(kParent, 16);
  EXPECT_EQ(target.pixel(37, 12), face);
  EXPECT_EQ(target.pixel(74, 12), lighten(face, 30));  // frame in the face, no edge
}

TEST_F(ButtonPaintingTest, SpeedButtonHotTestTransparencyAndTint) {
  ControlState hot;
  hot.hot = true;
  view.flat = true;
  view.transparent = true;
  target.fill(RGB(1, 2, 3));
  view.cursor = POINT{100, 100};
  ButtonPainter::speedButton(target.canvas(), view, hot, context);  // hot but mouse outside
  EXPECT_EQ(target.pixel(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(target.pixel(37, 12), RGB(1, 2, 3));

  view.transparent = false;
  view.cursor = POINT{75, 25};  // the right and bottom edge still count
  ButtonPainter::speedButton(target.canvas(), view, hot, context);
  EXPECT_EQ(target.pixel(0, 0), context.palette.selectionBorder);
  EXPECT_EQ(target.pixel(37, 12), context.palette.selection);

  view.flat = false;
  view.transparent = true;
  view.down = true;
  ControlState rest;
  target.fill(RGB(255, 255, 255));
  ButtonPainter::speedButton(target.canvas(), view, rest, context);
  EXPECT_EQ(target.pixel(37, 12), lighten(context.palette.shade2, 5));
  context.bitsPerPixel = 16;
  target.fill(RGB(255, 255, 255));
  ButtonPainter::speedButton(target.canvas(), view, rest, context);
  EXPECT_EQ(target.pixel(37, 12), context.palette.shade2);
}

TEST_F(ButtonPaintingTest, GroupBoxWithEmptyCaptionUsesTheHeightOfABlank) {
  GroupBoxView box;
  box.client = RECT{0, 0, 100, 60};
  box.color = RGB(240, 240, 240);
  box.parentColor = kParent;
  frt::Bitmap picture(100, 60);
  picture.canvas().setFont(box.font);
  int h = picture.canvas().textHeight(" ");
  GroupBoxPainter::groupBox(picture.canvas(), box, context);
  EXPECT_EQ(picture.pixel(50, 0), kParent);
  EXPECT_EQ(picture.pixel(50, h / 2), kParent);
  EXPECT_EQ(picture.pixel(50, h / 2 + 1), lighten(box.color, 60));  // the frame's top line
  EXPECT_EQ(picture.pixel(99, 40), darken(box.color, 60));
  EXPECT_EQ(picture.pixel(0, 40), lighten(box.color, 60));
  box.ctl3D = false;
  GroupBoxPainter::groupBox(picture.canvas(), box, context);
  EXPECT_EQ(picture.pixel(0, 40), darken(box.color, 60));
}

// The first row holding a pixel of colour, or -1.
int firstRowOf(const frt::Bitmap& picture, COLORREF color) {
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixel(x, y) == color) return y;
  return -1;
}

TEST_F(ButtonPaintingTest, GroupBoxCaptionIsClippedToItsPlaceOnEitherSide) {
  GroupBoxView box;
  box.client = RECT{0, 0, 120, 60};
  box.color = RGB(240, 240, 240);
  box.parentColor = kParent;
  box.caption = "jW";  // the j reaches left of where the text starts
  const COLORREF white = RGB(255, 255, 255);
  const std::set<COLORREF> painted{white, kParent, box.color, lighten(box.color, 60),
                                   darken(box.color, 60)};
  frt::Bitmap picture(120, 60);
  picture.canvas().setFont(box.font);
  SIZE extent = picture.canvas().textExtent(box.caption);
  // Whether any pixel of the caption's rows in columns [left, right) is text (antialiased).
  auto textIn = [&](int left, int right) {
    for (int y = 0; y < extent.cy; ++y)
      for (int x = left; x < right; ++x)
        if (!painted.count(picture.pixel(x, y))) return true;
    return false;
  };
  for (bool rightToLeft : {false, true}) {
    picture.fill(white);
    box.rightToLeft = rightToLeft;
    GroupBoxPainter::groupBox(picture.canvas(), box, context);
    int left = rightToLeft ? 120 - 9 - extent.cx : 9;
    EXPECT_TRUE(textIn(left, left + extent.cx));
    EXPECT_FALSE(textIn(0, left) || textIn(left + extent.cx, 120)) << rightToLeft;
  }
}

TEST_F(ButtonPaintingTest, DisabledToolButtonCaptionLiesOnTheBrushColourThreePixelsLower) {
  ToolButtonView v;
  v.bounds = RECT{0, 0, 60, 40};
  v.transparent = true;  // nothing fills the button: what lies under the caption shows
  v.showCaptions = true;
  v.caption = "WW";
  const COLORREF brush = RGB(10, 200, 10), white = RGB(255, 255, 255);
  frt::Bitmap enabled(60, 40), disabled(60, 40);
  enabled.fill(white);
  BarPainter::toolButton(enabled.canvas(), v, context);
  disabled.fill(white);
  disabled.canvas().setBrush(brush);
  v.enabled = false;
  v.state = CDIS_DISABLED;
  BarPainter::toolButton(disabled.canvas(), v, context);
  int top = firstRowOf(enabled, frt::colorToRGB(context.font.color));
  ASSERT_GE(top, 0);
  EXPECT_EQ(firstRowOf(disabled, context.palette.disabled), top + 3);
  EXPECT_EQ(firstRowOf(disabled, frt::colorToRGB(context.font.color)), -1);
  // The picture covers the caption's rectangle below its new top, and nothing above it.
  enabled.canvas().setFont(context.font);
  int captionTop = 40 - enabled.canvas().textHeight("WW") - 6 + 3;
  EXPECT_TRUE(disabled.pixel(1, captionTop) == brush && disabled.pixel(58, 39) == brush);
  EXPECT_EQ(disabled.pixel(1, captionTop - 1), white);
}

// Checked and indeterminate at once: the indeterminate colour is the later rule and wins,
// inside the checked button's frame.
TEST_F(ButtonPaintingTest, CheckedAndIndeterminateToolButtonTakesTheIndeterminateColour) {
  ToolButtonView v;
  v.bounds = RECT{0, 0, 30, 22};
  frt::Bitmap checked(30, 22), both(30, 22);
  v.state = CDIS_CHECKED;
  BarPainter::toolButton(checked.canvas(), v, context);
  v.state = CDIS_CHECKED | CDIS_INDETERMINATE;
  BarPainter::toolButton(both.canvas(), v, context);
  EXPECT_EQ(checked.pixel(4, 4), context.palette.shade2);
  COLORREF face = both.pixel(4, 4);
  EXPECT_NE(face, context.palette.shade2);
  EXPECT_TRUE(face == context.palette.selection || face == lighten(context.selectColor, 68));
  EXPECT_EQ(both.pixel(0, 10), context.palette.selectionBorder);
}

TEST_F(ButtonPaintingTest, ToolButtonImagesArrowSeparatorAndBandGrip) {
  frt::Component owner(nullptr);
  frt::ImageList images(&owner, 16, 16), hot(&owner, 16, 16), disabled(&owner, 16, 16);
  images.add();
  images.add();
  hot.add();
  disabled.add();
  disabled.add();
  ToolButtonView v;
  v.images = &images;
  v.hotImages = &hot;
  v.disabledImages = &disabled;
  EXPECT_EQ(BarPainter::imagesFor(v), nullptr);  // index -1
  v.imageIndex = 1;
  v.state = CDIS_HOT;
  EXPECT_EQ(BarPainter::imagesFor(v), &images);
  v.state = CDIS_HOT | CDIS_DISABLED;
  EXPECT_EQ(BarPainter::imagesFor(v), &disabled);
  v.imageIndex = 2;
  EXPECT_EQ(BarPainter::imagesFor(v), nullptr);

  frt::Bitmap bar(80, 30);
  v.images = v.hotImages = v.disabledImages = nullptr;
  v.state = 0;
  v.color = RGB(240, 240, 240);
  v.bounds = RECT{30, 0, 60, 22};
  v.dropDown = true;
  v.separatorBefore = true;
  v.separatorBounds = RECT{20, 0, 28, 22};
  EXPECT_FALSE(BarPainter::toolButton(bar.canvas(), v, context));
  int y = 1 + (22 - 3) / 2;
  EXPECT_EQ(bar.pixel(50, y), RGB(0, 0, 0));      // 5 pixels from x = 50
  EXPECT_EQ(bar.pixel(54, y), RGB(0, 0, 0));
  EXPECT_EQ(bar.pixel(55, y), lighten(v.color, 16));
  EXPECT_EQ(bar.pixel(52, y + 2), RGB(0, 0, 0));  // 1 pixel
  EXPECT_EQ(bar.pixel(24, 10), lighten(v.color, 16));  // Tag 0: filled, no line
  v.separatorTag = 1;
  BarPainter::toolButton(bar.canvas(), v, context);
  EXPECT_EQ(bar.pixel(24, 10), darken(v.color, 30));

  frt::Bitmap band(20, 20);
  band.fill(RGB(1, 1, 1));
  BarPainter::band(band.canvas(), RECT{0, 0, 20, 9}, v.color, context);
  for (int row = 0; row < 9; ++row) EXPECT_EQ(band.pixel(4, row), lighten(v.color, 6));
  BarPainter::band(band.canvas(), RECT{0, 0, 20, 20}, v.color, context);
  EXPECT_EQ(band.pixel(3, 6), darken(v.color, 30));
  EXPECT_EQ(band.pixel(5, 8), darken(v.color, 37));
  EXPECT_EQ(band.pixel(6, 6), lighten(v.color, 6));
  EXPECT_EQ(band.pixel(3, 7), lighten(v.color, 6));
}

TEST_F(FormFixture, HookedButtonsGroupBoxAndSpeedButtonPaintFlat) {
  auto* button = new frt::Button(form, form);
  button->setBounds(150, 10, 75, 25);
  auto* group = new frt::GroupBox(form, form);
  group->setBounds(150, 40, 100, 60);
  auto* speed = new frt::SpeedButton(form, form);
  speed->setBounds(150, 110, 30, 22);
  ASSERT_TRUE(button->createHandle());
  ASSERT_TRUE(group->createHandle());
  skin->setActive(true);
  ASSERT_NE(skin->hookOf(speed), nullptr);
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(pixel(button, 74, 12), skin::darken(shadow, 50));
  EXPECT_EQ(pixel(button, 37, 12), skin->context().palette.iconBack);
  EXPECT_EQ(pixel(group, 50, 0), face);  // the band in the parent colour
  EXPECT_EQ(pixel(group, 99, 40), skin::darken(face, 60));
  EXPECT_EQ(pixel(form, 165, 112), skin->context().palette.iconBack);
  EXPECT_EQ(pixel(form, 179, 121), skin::darken(shadow, 50));
}

}  // namespace
