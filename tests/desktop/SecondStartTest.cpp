// A second start of the program from the same folder finds the running one on the desktop,
// asks whether to open another session, and on No brings the first window back and ends.
#include <string>

#include "tests/desktop/DesktopTest.h"

namespace {

const char* const kQuestionTitle = "Vornith Message";

class SecondStartTest : public DesktopTest {
 protected:
  void SetUp() override { ASSERT_TRUE(session.start()) << session.why(); }
};

TEST_F(SecondStartTest, NoToAnotherSessionRestoresTheRunningWindowAndEnds) {
  DesktopDisplay& display = session.display();
  DesktopDisplay::WindowId main = display.findWindow(DesktopSession::MainTitle);
  ASSERT_NE(main, 0u);
  ASSERT_TRUE(xdotool({"windowminimize", std::to_string(main)}));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return display.windowState(main) == 3; }, 5000));

  ChildOptions options;
  options.environment = session.environment();
  options.environment.push_back("QT_QPA_PLATFORM=xcb");
  options.workingFolder = session.programFolder();
  options.outputFile = session.programFolder() + "/second.log";
  ChildProcess second;
  ASSERT_TRUE(second.start({session.programFolder() + "/vornith"}, options));
  DesktopDisplay::WindowId question = session.waitForWindow(kQuestionTitle, 10000);
  ASSERT_NE(question, 0u) << "the second start asked nothing";
  session.waitUntilStill(display.geometry(question), 3000);
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/SecondStartTest.Question.png");
  ASSERT_TRUE(xdotool({"windowactivate", "--sync", std::to_string(question)}));
  ASSERT_TRUE(session.input().keys({"n"}));

  ASSERT_TRUE(second.wait(10000)) << "the second copy kept running";
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(DesktopSession::waitFor([&] { return display.windowState(main) == 1; }, 5000))
      << "the first window stayed minimised";
  EXPECT_TRUE(DesktopSession::waitFor([&] { return display.activeWindow() == main; }, 5000))
      << "the first window is not active";
  EXPECT_FALSE(session.programEnded(0)) << "the first copy ended";
}

}  // namespace
