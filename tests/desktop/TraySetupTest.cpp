// The tray's settings form on a desktop: shown inside a host window, a click on a check box
// toggles it, and the library's Get entry point reads the new value.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/desktop/DesktopTest.h"

namespace {

class TraySetupTest : public DesktopTest {
 protected:
  void SetUp() override { ASSERT_TRUE(session.start()) << session.why(); }
  // What the host printed last: "values H S C".
  std::string lastValues() {
    std::ifstream in(output);
    std::string line, last;
    while (std::getline(in, line))
      if (line.rfind("values ", 0) == 0) last = line;
    return last;
  }
  std::string output = std::string(DESKTOP_SCREENSHOT_FOLDER) + "/../TraySetupTest.out";
};

TEST_F(TraySetupTest, AClickOnChatMeterChecksItAndGetChatMeterSaysSo) {
  ChildOptions options;
  options.environment = session.environment();
  options.outputFile = output;
  std::remove(output.c_str());  // the host appends
  ChildProcess host;
  ASSERT_TRUE(host.start({TRAYSETUPHOST_PATH, VTRAYSETUP_LIBRARY}, options));
  DesktopDisplay::WindowId window = session.display().findWindow("vtraySetup host");
  ASSERT_TRUE(DesktopSession::waitFor([&] {
    window = session.display().findWindow("vtraySetup host");
    return window != 0;
  }, 10000)) << "no host window";
  ASSERT_TRUE(DesktopSession::waitFor([&] { return lastValues() == "values 0 1 0"; }, 5000))
      << lastValues();
  Rect inside = session.display().geometry(window);
  session.waitUntilStill(inside, 3000);
  // The form sits at the window's top-left; "Chat meter" is the box at (16, 48), 17 high.
  ASSERT_TRUE(session.input().click(Point{inside.x + 16 + 6, inside.y + 48 + 8}));
  EXPECT_TRUE(DesktopSession::waitFor([&] { return lastValues() == "values 0 1 1"; }, 5000))
      << lastValues();
  ASSERT_TRUE(session.input().click(Point{inside.x + 16 + 60, inside.y + 16 + 8}));  // caption
  EXPECT_TRUE(DesktopSession::waitFor([&] { return lastValues() == "values 1 1 1"; }, 5000))
      << lastValues();
  session.waitUntilStill(inside, 2000);
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/TraySetupTest.Form.png");
}

}  // namespace
