// Flat menu items measured and drawn off screen, read back at the pixels the rules fix: icon
// strip, selection box, separator, check square and the glyph's dimmed, grayed and shadowed
// looks.
#include <gtest/gtest.h>

#include "plugins/vtraySetup/rt/ImageList.h"
#include "plugins/vtraySetup/rt/MenuItem.h"
#include "plugins/vtraySetup/skin/MenuPainter.h"
#include "plugins/vtraySetup/skin/SkinColors.h"

namespace {

using namespace skin;

class MenuPaintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context.palette = computePalette(SkinColorSettings(), true);
    images = new frt::ImageList(&owner, 16, 16);
    frt::Bitmap& picture = images->add();
    picture.fill(RGB(255, 255, 255));  // bottom-left: the transparent colour
    picture.setPixel(8, 8, kRed);
    item = new frt::MenuItem(&owner);
    item->caption = "Open";
    item->images = images;
  }
  COLORREF drawnAt(const MenuItemState& state, int x, int y) {
    frt::Bitmap target(120, 24);
    MenuPainter::draw(target.canvas(), RECT{0, 0, 120, 24}, *item, state, context);
    return target.pixel(x, y);
  }
  static constexpr COLORREF kRed = RGB(200, 0, 0);
  SkinContext context;
  frt::Component owner{nullptr};
  frt::ImageList* images = nullptr;
  frt::MenuItem* item = nullptr;
};

TEST_F(MenuPaintingTest, MeasureFollowsTextShortcutAcceleratorAndGlyph) {
  frt::Bitmap sizing(1, 1);
  frt::Canvas& canvas = sizing.canvas();
  item->caption = "-";
  EXPECT_EQ(MenuPainter::measure(canvas, *item, false, context).cy, 4);
  item->caption = "Open";
  SIZE plain = MenuPainter::measure(canvas, *item, false, context);
  canvas.setFont(context.font);
  int th = canvas.textHeight("Open");
  EXPECT_EQ(plain.cx, canvas.textWidth("Open") + 5 + 24);  // at least IconWidth for a glyph
  EXPECT_EQ(plain.cy, th + roundHalfEven(0.75 * th));
  // Real sub-items widen a pop-up item; once they are gone the width is back.
  frt::MenuItem* subItems[2] = {item->add("New"), item->add("Exit")};
  EXPECT_EQ(MenuPainter::measure(canvas, *item, false, context).cx, plain.cx + 6);
  EXPECT_EQ(MenuPainter::measure(canvas, *item, true, context).cx, plain.cx - 24);  // a bar item has no strip
  for (frt::MenuItem* sub : subItems) delete sub;
  EXPECT_EQ(MenuPainter::measure(canvas, *item, false, context).cx, plain.cx);
  item->caption = "&Open";
  EXPECT_EQ(MenuPainter::measure(canvas, *item, false, context).cx,
            canvas.textWidth("&Open") + 5 + 24 - canvas.textWidth("&"));
  item->imageIndex = 0;
  images->add();
  frt::ImageList tall(&owner, 16, 40);
  tall.add();
  item->images = &tall;
  EXPECT_EQ(MenuPainter::measure(canvas, *item, false, context).cy, 46);
}

TEST_F(MenuPaintingTest, StripSelectionSeparatorGlyphLooksAndCheckSquare) {
  const SkinPalette& p = context.palette;
  MenuItemState rest, selected;
  selected.selected = true;
  EXPECT_EQ(drawnAt(rest, 2, 1), p.iconBack);
  EXPECT_EQ(drawnAt(rest, 24, 1), p.menu);
  EXPECT_EQ(drawnAt(selected, 110, 0), p.menu);  // the box is one pixel in
  EXPECT_EQ(drawnAt(selected, 110, 1), p.selectionBorder);
  EXPECT_EQ(drawnAt(selected, 110, 12), p.selection);
  item->enabled = false;
  EXPECT_EQ(drawnAt(selected, 110, 12), p.menu);  // disabled items show no selection
  item->caption = "-";
  EXPECT_EQ(drawnAt(rest, 24 + 7, 12), p.separator);
  EXPECT_EQ(drawnAt(rest, 24 + 6, 12), p.menu);

  item->caption = "Open";
  item->enabled = true;
  item->imageIndex = 0;
  // The strip is 24 wide: the 16x16 glyph sits at (4, 4).
  EXPECT_EQ(drawnAt(rest, 12, 12), lighten(kRed, 30));
  EXPECT_EQ(drawnAt(rest, 12, 11), p.iconBack);  // the white is transparent
  EXPECT_EQ(drawnAt(selected, 11, 11), kRed);    // lifted one pixel up and left
  EXPECT_EQ(drawnAt(selected, 14, 14), darken(p.shade1, 50));
  item->enabled = false;
  EXPECT_EQ(drawnAt(rest, 12, 12), lighten(gray(kRed, 10), 40));
  item->enabled = true;
  item->imageIndex = -1;
  item->checked = true;
  EXPECT_EQ(drawnAt(rest, 5, 5), p.checked);  // a 14 square round the strip's centre
  EXPECT_EQ(drawnAt(rest, 6, 6), p.shade2);
  EXPECT_EQ(drawnAt(selected, 6, 6), p.shade3);
}

}  // namespace
