// The base of every desktop case: a session started before the case, its last screen saved
// into the tests folder after it whatever the result, and checks that tell what they saw.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/desktop/DesktopSession.h"

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Whether the server receives line (or one of lines) from the client in time; if not, what
  // it received.
  ::testing::AssertionResult receives(const std::string& line) {
    return receives(std::vector<std::string>{line});
  }
  ::testing::AssertionResult receives(const std::vector<std::string>& lines);
  // Clicks into the System page's command line (the page first, through its tab).
  void clickSystemCommandLine();
  // A line from the server to the client, stamped as the server stamps what it relays.
  bool fromServer(const std::string& line);
  // What the desktop's own programs would do: xdotool with the session's display.
  bool xdotool(const std::vector<std::string>& arguments);

  DesktopSession session;
};
