// The tray plug-in on a desktop with a stand-alone notification area: minimising hides the
// program's window into an icon there and a double click on the icon brings it back; on a
// desktop without one the window only minimises, so the window manager can still bring it back.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/desktop/DesktopTest.h"

namespace {

const long kNormal = 1;
const long kMinimised = 3;

class TrayTest : public DesktopTest {
 protected:
  void SetUp() override { ASSERT_TRUE(session.start()) << session.why(); }
  bool run(ChildProcess& child, const std::vector<std::string>& argv) {
    ChildOptions options;
    options.environment = session.environment();
    return child.start(argv, options);
  }
  // The notification area: a panel in the screen's bottom right corner.
  bool startTrayHost() {
    if (!run(trayHost, {"trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                        "--width", "120", "--heighttype", "pixel", "--height", "28",
                        "--SetDockType", "true", "--transparent", "false"}))
      return false;
    return DesktopSession::waitFor([&] { return session.display().findWindow("panel") != 0; },
                                   5000);
  }
  Rect panel() { return session.display().geometry(session.display().findWindow("panel")); }
  // The box of the pixels that differ between two grabs of one area, in screen coordinates.
  static Rect changed(const Rect& area, const ScreenImage& a, const ScreenImage& b) {
    int left = area.width, top = area.height, right = -1, bottom = -1;
    for (int y = 0; y < area.height; ++y)
      for (int x = 0; x < area.width; ++x)
        if (a.at(x, y) != b.at(x, y)) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (right < 0) return Rect{};
    return Rect{area.x + left, area.y + top, right - left + 1, bottom - top + 1};
  }
  long stateOf(DesktopDisplay::WindowId window) { return session.display().windowState(window); }

  ChildProcess trayHost;
};

TEST_F(TrayTest, MinimisingHidesIntoTheTrayIconAndADoubleClickBringsTheWindowBack) {
  ASSERT_TRUE(startTrayHost()) << "trayer did not start (scripts/setup installs it)";
  DesktopDisplay::WindowId main = session.display().findWindow(DesktopSession::MainTitle);
  ASSERT_NE(main, 0u);
  Rect area = panel();
  ASSERT_FALSE(area.empty());
  ScreenImage empty = session.display().grab(area);

  ASSERT_TRUE(xdotool({"windowminimize", std::to_string(main)}));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return session.display().grab(area) != empty; }, 5000))
      << "no icon in the notification area";
  EXPECT_TRUE(DesktopSession::waitFor([&] {
    long state = stateOf(main);
    return state == 0 || state == -1;
  }, 5000)) << "the window was not hidden (state " << stateOf(main) << ")";
  session.waitUntilStill(area, 3000);
  Rect icon = changed(area, empty, session.display().grab(area));
  ASSERT_FALSE(icon.empty());
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/TrayTest.InTray.png");

  ASSERT_TRUE(session.input().click(icon.centre(), 1, 2));
  EXPECT_TRUE(DesktopSession::waitFor([&] { return stateOf(main) == kNormal; }, 5000))
      << "the window did not come back (state " << stateOf(main) << ")";
  EXPECT_TRUE(DesktopSession::waitFor([&] { return session.display().grab(area) == empty; }, 5000))
      << "the icon stayed";
}

TEST_F(TrayTest, WithoutANotificationAreaTheWindowOnlyMinimises) {
  DesktopDisplay::WindowId main = session.display().findWindow(DesktopSession::MainTitle);
  ASSERT_NE(main, 0u);
  ASSERT_TRUE(xdotool({"windowminimize", std::to_string(main)}));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return stateOf(main) == kMinimised; }, 5000));
  session.waitUntilStill(session.display().screen(), 2000);
  EXPECT_EQ(stateOf(main), kMinimised);  // never withdrawn: the window manager still has it
  ASSERT_TRUE(xdotool({"windowactivate", std::to_string(main)}));
  EXPECT_TRUE(DesktopSession::waitFor([&] { return stateOf(main) == kNormal; }, 5000));
}

}  // namespace
