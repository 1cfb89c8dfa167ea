#include "tests/desktop/DesktopTest.h"

#include <algorithm>
#include <ctime>

void DesktopTest::SetUp() { ASSERT_TRUE(session.start()) << session.why(); }

void DesktopTest::TearDown() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/" + info->test_suite_name() + "." +
                     info->name() + ".png");
}

::testing::AssertionResult DesktopTest::receives(const std::vector<std::string>& lines) {
  auto arrived = [&] {
    std::vector<std::string> got = session.received();
    for (const std::string& line : lines)
      if (std::find(got.begin(), got.end(), line) != got.end()) return true;
    return false;
  };
  if (DesktopSession::waitFor(arrived, 4000)) return ::testing::AssertionSuccess();
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << "the server never received \"" << lines.front() << "\"; it received:";
  for (const std::string& got : session.received()) failure << "\n  \"" << got << "\"";
  return failure;
}

bool DesktopTest::fromServer(const std::string& line) {
  return session.server().inject(DesktopSession::Nick, ChatServer::stampOf(std::time(nullptr)) + line + "\n");
}

bool DesktopTest::xdotool(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv = {"xdotool"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  ChildOptions options;
  options.environment = session.environment();
  ChildProcess tool;
  return tool.start(argv, options) && tool.wait(5000);
}

void DesktopTest::clickSystemCommandLine() {
  MainLayout main = session.main();
  ASSERT_TRUE(session.input().click(main.systemTab()));
  ASSERT_TRUE(session.input().click(main.inputLine()));
}
