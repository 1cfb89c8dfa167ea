// The window manager's maximise of the main window away from the screen's corner: the frame
// takes the work area, the window manager records the state, and the same request puts the
// window back where it was.
#include <string>

#include "tests/desktop/DesktopTest.h"
#include "tests/desktop/OtherClient.h"

namespace {

using WindowId = DesktopDisplay::WindowId;

class MaximizeTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    ASSERT_TRUE(other.open(session.environment()));
    main = session.display().findWindow(DesktopSession::MainTitle);
    ASSERT_NE(main, 0u);
    std::string id = std::to_string(main);
    ASSERT_TRUE(xdotool({"windowsize", id, "700", "450"}));
    ASSERT_TRUE(xdotool({"windowmove", id, "300", "219"}));
    ASSERT_TRUE(
        DesktopSession::waitFor([&] { return session.display().geometry(main).x > 250; }, 5000));
    session.waitUntilStill(session.display().screen(), 3000);
    normal = session.display().geometry(main);
  }

  // The window's frame, as the window manager draws it.
  Rect frame() {
    Rect inside = session.display().geometry(main);
    std::vector<long> e = session.display().frameExtents(main);  // left, right, top, bottom
    if (e.size() != 4) return inside;
    return Rect{inside.x - static_cast<int>(e[0]), inside.y - static_cast<int>(e[2]),
                inside.width + static_cast<int>(e[0] + e[1]),
                inside.height + static_cast<int>(e[2] + e[3])};
  }

  static std::string text(const Rect& r) {
    return std::to_string(r.width) + "x" + std::to_string(r.height) + " at " + std::to_string(r.x) +
           "," + std::to_string(r.y);
  }

  // Maximised for good: the state recorded and the frame on the work area, after the program
  // had its say.
  ::testing::AssertionResult maximized() {
    Rect area = other.workArea();
    auto onWorkArea = [&] {
      Rect f = frame();
      return other.isMaximized(main) && f.x == area.x && f.y == area.y && f.width == area.width &&
             f.height == area.height;
    };
    DesktopSession::waitFor(onWorkArea, 5000);
    session.waitUntilStill(session.display().screen(), 3000);
    if (onWorkArea()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the frame is " << text(frame()) << " for the work area " << text(area)
           << (other.isMaximized(main) ? "" : "; the window manager records no maximised state");
  }

  ::testing::AssertionResult restored() {
    auto back = [&] {
      Rect now = session.display().geometry(main);
      return !other.isMaximized(main) && now.x == normal.x && now.y == normal.y &&
             now.width == normal.width && now.height == normal.height;
    };
    DesktopSession::waitFor(back, 5000);
    session.waitUntilStill(session.display().screen(), 3000);
    if (back()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the window is " << text(session.display().geometry(main)) << ", was " << text(normal)
           << (other.isMaximized(main) ? " and still maximised" : "");
  }

  // The close box and the input line, at the frame's top right and the page's bottom.
  void expectControlsOnScreen() {
    Rect screen = session.display().screen();
    Rect f = frame();
    EXPECT_LE(f.x + f.width, screen.width) << "the close box is off the screen";
    EXPECT_LE(session.main().inputLine().y, screen.height) << "the input line is off the screen";
  }

  OtherClient other;
  WindowId main = 0;
  Rect normal;
};

TEST_F(MaximizeTest, TheStandardRequestMaximisesOnTheWorkAreaAndRestores) {
  ASSERT_TRUE(other.requestMaximized(main, true));
  EXPECT_TRUE(maximized());
  expectControlsOnScreen();
  ASSERT_TRUE(other.requestMaximized(main, false));
  EXPECT_TRUE(restored());
}

TEST_F(MaximizeTest, ADoubleClickOnTheTitleBarMaximisesAndRestores) {
  std::vector<long> e = session.display().frameExtents(main);
  ASSERT_EQ(e.size(), 4u);
  Point title{normal.x + normal.width / 2, normal.y - static_cast<int>(e[2]) / 2};
  ASSERT_TRUE(session.input().click(title, 1, 2));
  EXPECT_TRUE(maximized());
  expectControlsOnScreen();
  e = session.display().frameExtents(main);
  Rect inside = session.display().geometry(main);
  ASSERT_EQ(e.size(), 4u);
  ASSERT_TRUE(session.input().click(
      Point{inside.x + inside.width / 2, inside.y - static_cast<int>(e[2]) / 2}, 1, 2));
  EXPECT_TRUE(restored());
}

// ShowWindow(SW_MAXIMIZE) at the next start asks the window manager as its button does.
TEST_F(MaximizeTest, ClosedMaximisedItKeepsTheEarlierPlaceAndStartsMaximised) {
  Rect before = frame();
  ASSERT_TRUE(other.requestMaximized(main, true));
  ASSERT_TRUE(maximized());
  ASSERT_TRUE(other.requestClose(main));
  ASSERT_TRUE(session.programEnded(10000)) << "the close box did not end the program";
  EXPECT_EQ(session.setting("Vornith.ini", "System", "Maximized"), "On");
  EXPECT_EQ(session.setting("Vornith.ini", "System", "PosX"), std::to_string(before.x));
  EXPECT_EQ(session.setting("Vornith.ini", "System", "PosY"), std::to_string(before.y));

  ChildOptions options;
  options.environment = session.environment();
  options.environment.push_back("QT_QPA_PLATFORM=xcb");
  options.workingFolder = session.programFolder();
  options.outputFile = session.programFolder() + "/again.log";
  ChildProcess again;
  ASSERT_TRUE(again.start({session.programFolder() + "/vornith"}, options));
  main = session.waitForWindow(DesktopSession::MainTitle, 15000);
  ASSERT_NE(main, 0u);
  EXPECT_TRUE(maximized());
  ASSERT_TRUE(other.requestMaximized(main, false));
  EXPECT_TRUE(restored());
}

}  // namespace
