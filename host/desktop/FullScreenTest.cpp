// The alert add-in set to keep quiet while the screen is taken: another program's full-screen
// window in front holds the pop-up back; with that window gone, a tell raises it again.
#include <string>

#include "host/desktop/DesktopTest.h"
#include "host/desktop/OtherClient.h"

namespace {

class FullScreenTest : public DesktopTest {
 protected:
  void SetUp() override {
    session.addClientSettings("Addins=Vaware\n", "VawareDisabledWhenFullscreen=On\n");
    DesktopTest::SetUp();
    ASSERT_TRUE(other.open(session.environment()));
  }

  // The pop-up's place by default: the work area's top left. The full-screen window may be
  // stacked over it, so what counts is whether it is mapped.
  bool popUpShown() { return other.smallWindowMappedAt(Point{4, 4}); }

  OtherClient other;
};

TEST_F(FullScreenTest, AnotherProgramsFullScreenWindowHoldsThePopUpBack) {
  DesktopDisplay& display = session.display();
  DesktopDisplay::WindowId main = display.findWindow(DesktopSession::MainTitle);
  ASSERT_NE(main, 0u);
  DesktopDisplay::WindowId film = other.showFullScreenWindow();
  ASSERT_NE(film, 0u);
  Rect screen = display.screen();
  ASSERT_TRUE(DesktopSession::waitFor(
      [&] {
        Rect r = display.geometry(film);
        return display.activeWindow() == film && r.width == screen.width &&
               r.height == screen.height;
      },
      5000))
      << "the window manager did not put the full-screen window in front";
  session.waitUntilStill(screen, 3000, 500);  // the program has heard it lost the focus

  ASSERT_TRUE(fromServer("bob tells you: are you there?"));
  EXPECT_FALSE(DesktopSession::waitFor([&] { return popUpShown(); }, 3000))
      << "the pop-up showed over another program's full-screen window";

  other.close();  // the film ends
  ASSERT_TRUE(other.open(session.environment()));
  ASSERT_TRUE(xdotool({"windowminimize", std::to_string(main)}));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return display.windowState(main) == 3; }, 5000));
  session.waitUntilStill(screen, 3000, 500);
  ASSERT_TRUE(fromServer("bob tells you: still there?"));
  EXPECT_TRUE(DesktopSession::waitFor([&] { return popUpShown(); }, 5000))
      << "no pop-up once the full-screen window was gone";
}

}  // namespace
