// Tool bars and control bars on a skinned form: the skin takes their drawing events, draws
// buttons, separators, arrows and band grips, and gives the events back on unhooking.
#include "plugins/vtraySetup/rt/Bars.h"
#include "plugins/vtraySetup/skin/SkinColors.h"
#include "plugins/vtraySetup/tests/FormFixture.h"

namespace {

using namespace skin;

class BarSkinningTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    tools = new frt::ToolBar(form, form);
    tools->setBounds(150, 100, 140, 30);
    tools->addButton(RECT{0, 0, 23, 22});
    tools->addButton(RECT{23, 0, 31, 22}, frt::ToolButtonStyle::Separator)->tag = 1;
    tools->addButton(RECT{31, 0, 67, 22}, frt::ToolButtonStyle::DropDown);
    bands = new frt::ControlBar(form, form);
    bands->setBounds(150, 140, 140, 50);
    auto* onBand = new frt::CheckBox(form, bands);
    onBand->tag = 999;
    onBand->setBounds(20, 10, 60, 20);
    ASSERT_TRUE(tools->createHandle());
    ASSERT_TRUE(bands->createHandle());
  }
  frt::ToolBar* tools = nullptr;
  frt::ControlBar* bands = nullptr;
};

TEST_F(BarSkinningTest, ToolButtonsSeparatorArrowAndHotStateAreTheSkins) {
  skin->setActive(true);
  EXPECT_TRUE(tools->flat);
  const SkinPalette& p = skin->context().palette;
  COLORREF face = frt::colorToRGB(tools->color);
  EXPECT_EQ(pixel(tools, 5, 5), lighten(face, 16));
  EXPECT_EQ(pixel(tools, 27, 5), darken(face, 30));  // the separator's line (its Tag is 1)
  EXPECT_EQ(pixel(tools, 25, 5), lighten(face, 16));
  EXPECT_EQ(pixel(tools, 57, 10), RGB(0, 0, 0));
  EXPECT_EQ(pixel(tools, 59, 12), RGB(0, 0, 0));
  SendMessageA(tools->handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(pixel(tools, 5, 5), p.selection);
  EXPECT_EQ(pixel(tools, 0, 1), p.selectionBorder);
}

TEST_F(BarSkinningTest, BandGripAndOwnEventsKeptUnlessOverridden) {
  bool ownDrawing = false;
  tools->onCustomDrawButton = [&](frt::ToolBar&, frt::ToolButton&, UINT, bool&) {
    ownDrawing = true;
  };
  skin->setActive(true);
  EXPECT_EQ(tools->drawingOwner, nullptr);
  UpdateWindow(tools->handle());
  EXPECT_TRUE(ownDrawing);
  // The band of the check box at (20, 10): from (9, 8), the grip from row 13 to 27.
  COLORREF face = frt::colorToRGB(bands->color);
  EXPECT_EQ(pixel(bands, 30, 20), lighten(face, 6));
  EXPECT_EQ(pixel(bands, 12, 14), darken(face, 30));
  EXPECT_EQ(pixel(bands, 12, 16), darken(face, 37));
  EXPECT_EQ(pixel(bands, 12, 15), lighten(face, 6));
  EXPECT_EQ(pixel(bands, 15, 14), lighten(face, 6));  // strokes are 3 pixels wide
  skin->setActive(false);
  EXPECT_FALSE(bands->onBandPaint);
  EXPECT_TRUE(tools->onCustomDrawButton);
  skin->overrideOwnerDraw = true;
  skin->setActive(true);
  EXPECT_EQ(tools->drawingOwner, skin);
}

}  // namespace
