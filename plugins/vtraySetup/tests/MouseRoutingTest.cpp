// Mouse messages reaching a skinned form: graphic controls get theirs from the parent (with
// entering and leaving), and a double click presses a button or check box once more.
#include "plugins/vtraySetup/rt/Buttons.h"
#include "plugins/vtraySetup/skin/ControlPainter.h"
#include "plugins/vtraySetup/tests/FormFixture.h"

namespace {

class MouseRoutingTest : public FormFixture {};

TEST_F(MouseRoutingTest, GraphicButtonGetsEnterPressAndLeaveThroughItsParent) {
  auto* speed = new frt::SpeedButton(form, form);
  speed->setBounds(150, 10, 40, 24);
  skin->setActive(true);
  skin::ControlSubClass* hook = skin->hookOf(speed);
  ASSERT_NE(hook, nullptr);
  std::vector<frt::Message> seen;
  frt::Control::WndMethod skinned = speed->windowProc;
  speed->windowProc = [&](frt::Message& m) {
    seen.push_back(m);
    skinned(m);
  };
  HWND window = form->handle();
  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(160, 20));
  EXPECT_TRUE(hook->mouseInside());
  EXPECT_TRUE(hook->state().hot);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(160, 20));
  EXPECT_TRUE(hook->state().leftDown);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().lParam, MAKELPARAM(10, 10));  // in the button's own coordinates
  // The button keeps the mouse while it is down, even outside it.
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(hook->state().leftDown);
  EXPECT_FALSE(hook->mouseInside());
  EXPECT_FALSE(hook->state().hot);
  speed->windowProc = skinned;
}

TEST_F(MouseRoutingTest, DoubleClickPressesAHookedCheckBoxAgain) {
  skin->setActive(true);
  skin::ControlSubClass* hook = skin->hookOf(box);
  ASSERT_NE(hook, nullptr);
  int before = static_cast<int>(SendMessageA(box->handle(), BM_GETCHECK, 0, 0));
  SendMessageA(box->handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(box->handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  SendMessageA(box->handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(hook->state().leftDown);
  const skin::SkinPalette& p = skin->context().palette;
  RECT square = skin::ControlPainter::toggleSquare(
      skin::ToggleView{box->clientRect(), 0, 0, true, true}, 3);
  EXPECT_EQ(pixel(box, square.left + 3, square.top + 3), p.shade3);
  SendMessageA(box->handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(static_cast<int>(SendMessageA(box->handle(), BM_GETCHECK, 0, 0)), before);
}

}  // namespace
