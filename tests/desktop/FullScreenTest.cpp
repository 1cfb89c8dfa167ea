// The alert add-in set to keep quiet while the screen is taken: another program's full-screen
// window in front holds the pop-up back; with that window gone, a tell raises it again.
#include <fstream>
#include <string>

#include "tests/desktop/DesktopTest.h"
#include "tests/desktop/OtherClient.h"

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

  // What GetForegroundWindow, GetWindowRect and GetClientRect answer in another program of the
  // layer on this desktop: "left top right bottom width height", or "none".
  std::string foregroundSeenByTheLayer() {
    ChildOptions options;
    options.environment = session.environment();
    options.environment.push_back("QT_QPA_PLATFORM=xcb");
    options.outputFile = session.programFolder() + "/probe.txt";
    runTool({FOREGROUNDPROBE_PATH}, options, 10000);
    std::ifstream in(options.outputFile);
    std::string line;
    std::getline(in, line);
    return line;
  }

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
  std::string size = std::to_string(screen.width) + " " + std::to_string(screen.height);
  EXPECT_EQ(foregroundSeenByTheLayer(), "0 0 " + size + " " + size);

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
