// Up-down halves, combo-box frames and button, and the rich edit's border swap, read back at
// the pixels their rules fix.
#include "plugins/vtraySetup/rt/Fields.h"
#include "plugins/vtraySetup/skin/FieldPainter.h"
#include "plugins/vtraySetup/skin/SkinColors.h"
#include "plugins/vtraySetup/tests/FormFixture.h"

namespace {

using namespace skin;

const COLORREF kParent = RGB(100, 120, 140);
const COLORREF kField = RGB(250, 250, 240);
const COLORREF kBlack = RGB(0, 0, 0);

class FieldPaintingTest : public ::testing::Test {
 protected:
  void SetUp() override { context.palette = computePalette(SkinColorSettings(), true); }
  SkinContext context;
};

TEST_F(FieldPaintingTest, UpDownHalvesRestHotAndPressed) {
  const SkinPalette& p = context.palette;
  frt::Bitmap target(15, 20);
  FieldPainter::upDown(target.canvas(), UpDownView{RECT{0, 0, 15, 20}, kParent, -1, false},
                       context);
  EXPECT_EQ(target.pixel(0, 0), lighten(kParent, 80));
  EXPECT_EQ(target.pixel(2, 3), lighten(p.selection, 16));
  EXPECT_EQ(target.pixel(7, 13), kBlack);  // the lower arrow's 5-pixel row
  FieldPainter::upDown(target.canvas(), UpDownView{RECT{0, 0, 15, 20}, kParent, 1, false},
                       context);
  EXPECT_EQ(target.pixel(0, 10), p.selectionBorder);
  EXPECT_EQ(target.pixel(2, 17), lighten(p.selection, 60));
  EXPECT_EQ(target.pixel(2, 3), lighten(p.selection, 16));  // the other half rests
  FieldPainter::upDown(target.canvas(), UpDownView{RECT{0, 0, 15, 20}, kParent, 1, true},
                       context);
  EXPECT_EQ(target.pixel(2, 17), p.shade3);
  EXPECT_EQ(target.pixel(5, 13), RGB(255, 255, 255));
  EXPECT_EQ(target.pixel(7, 15), RGB(255, 255, 255));  // the 1-pixel tip
  EXPECT_EQ(target.pixel(6, 15), p.shade3);
  EXPECT_EQ(FieldPainter::halfAt(RECT{0, 0, 15, 20}, POINT{3, 9}), 0);
  EXPECT_EQ(FieldPainter::halfAt(RECT{0, 0, 15, 20}, POINT{3, 20}), -1);
}

TEST_F(FieldPaintingTest, ComboFramesButtonStripAndArrow) {
  const SkinPalette& p = context.palette;
  ComboView view{RECT{0, 0, 100, 21}, kField, kParent, 0, false, false, false};
  frt::Bitmap target(100, 21);
  FieldPainter::combo(target.canvas(), view, false, context);
  int thumb = GetSystemMetrics(SM_CXHTHUMB);
  int left = 99 - thumb;
  EXPECT_EQ(target.pixel(0, 0), kParent);
  EXPECT_EQ(target.pixel(1, 1), kField);
  EXPECT_EQ(target.pixel(left + 4, 5), kField);  // the strip
  EXPECT_EQ(target.pixel(left + 5, 5), frt::colorToRGB(frt::clBtnFace));
  int x = left + 5 + (thumb - 10) / 2;
  EXPECT_EQ(target.pixel(x, 10), kBlack);
  EXPECT_EQ(target.pixel(x + 4, 10), kBlack);
  EXPECT_EQ(target.pixel(x + 2, 12), kBlack);
  EXPECT_NE(target.pixel(x + 1, 12), kBlack);
  FieldPainter::combo(target.canvas(), view, true, context);
  EXPECT_EQ(target.pixel(0, 0), p.selectionBorder);
  EXPECT_EQ(target.pixel(left + 5, 5), p.selection);
  view.tag = 1000;
  FieldPainter::combo(target.canvas(), view, false, context);
  EXPECT_EQ(target.pixel(left + 5, 5), lighten(kParent, 16));
  view.droppedDown = true;
  FieldPainter::combo(target.canvas(), view, true, context);
  EXPECT_EQ(target.pixel(left + 5, 5), p.shade3);
  // The simple style draws the frames only.
  frt::Bitmap plain(100, 21);
  plain.fill(RGB(1, 2, 3));
  view.simpleStyle = true;
  FieldPainter::combo(plain.canvas(), view, false, context);
  EXPECT_EQ(plain.pixel(1, 1), kField);
  EXPECT_EQ(plain.pixel(left + 5, 5), RGB(1, 2, 3));
}

class FieldHookTest : public FormFixture {};

TEST_F(FieldHookTest, RichEditBorderSwapsAndComeBackAndComboAsksForItsList) {
  auto* rich = new frt::RichEdit(form, form);
  rich->setBounds(150, 10, 100, 40);
  auto* combo = new frt::ComboBox(form, form);
  combo->setBounds(150, 60, 100, 21);
  combo->droppedDown = true;
  ASSERT_TRUE(rich->createHandle());
  ASSERT_TRUE(combo->createHandle());
  skin->setActive(true);
  COLORREF parentColor = frt::colorToRGB(form->color);
  EXPECT_EQ(pixel(rich, 0, 0), darken(parentColor, 60));
  EXPECT_FALSE(rich->singleBorder);
  EXPECT_EQ(rich->borderWidth, 2);
  int left = 99 - GetSystemMetrics(SM_CXHTHUMB);
  EXPECT_EQ(pixel(combo, left + 5, 5), skin->context().palette.shade3);
  skin->setActive(false);
  EXPECT_TRUE(rich->singleBorder);
  EXPECT_EQ(rich->borderWidth, 0);
}

TEST_F(FieldHookTest, LookupComboPaintsItsOwnFrameOnTheWholeWindow) {
  auto* lookup = new frt::DBLookupComboBox(form, form);
  lookup->setBounds(150, 100, 100, 22);
  ASSERT_TRUE(lookup->createHandle());
  skin->setActive(true);
  skin::ControlSubClass* hook = skin->hookOf(lookup);
  ASSERT_NE(hook, nullptr);
  COLORREF parentColor = frt::colorToRGB(form->color);
  EXPECT_EQ(pixel(lookup, 0, 0), darken(parentColor, 60));
  EXPECT_EQ(pixel(lookup, 1, 1), frt::colorToRGB(lookup->color));
  EXPECT_FALSE(lookup->ctl3D);
  EXPECT_FALSE(hook->recreationPending());  // cleared by the paint after the switch
  // The frame message alone repaints it: the dropped list darkens the button.
  lookup->droppedDown = true;
  SendMessageA(lookup->handle(), WM_NCPAINT, 1, 0);
  HDC dc = GetDC(lookup->handle());
  EXPECT_EQ(GetPixel(dc, 85, 12), skin->context().palette.shade3);
  EXPECT_EQ(GetPixel(dc, 89, 8), RGB(255, 255, 255));
  ReleaseDC(lookup->handle(), dc);
}

}  // namespace
