// The alert add-in on a desktop: with the program's window out of the way, a tell raises the
// pop-up with its line in the work area's corner, and the pop-up goes away by itself.
#include <string>

#include "tests/desktop/DesktopTest.h"

namespace {

class AlertTest : public DesktopTest {
 protected:
  void SetUp() override {
    session.addClientSettings("Addins=Vaware\n", "");
    ASSERT_TRUE(session.start()) << session.why();
  }
  // The corner the pop-up takes by default: the work area's top left.
  ScreenImage corner() { return session.display().grab(Rect{0, 0, 120, 16}); }
};

TEST_F(AlertTest, ATellRaisesThePopUpInTheCornerAndItHidesItself) {
  DesktopDisplay::WindowId main = session.display().findWindow(DesktopSession::MainTitle);
  ASSERT_NE(main, 0u);
  // The user is away from the program: nothing would show while it is in front.
  ASSERT_TRUE(xdotool({"windowminimize", std::to_string(main)}));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return session.display().windowState(main) == 3; }, 5000));
  session.waitUntilStill(session.display().screen(), 3000, 500);  // the focus has moved on
  ScreenImage before = corner();
  ASSERT_TRUE(fromServer("bob tells you: are you there?"));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return corner().commonest() == 0xFFFFFF; }, 5000))
      << "no pop-up in the corner";
  EXPECT_GT(corner().countOther(0xFFFFFF), 20);  // the line's letters, in black
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/AlertTest.PopUp.png");
  // 1000 ms plus 60 characters a second for the line.
  EXPECT_TRUE(DesktopSession::waitFor([&] { return corner() == before; }, 6000))
      << "the pop-up stayed";
}

}  // namespace
