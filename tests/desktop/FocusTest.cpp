// Where keys go without a click into an input line: after start, after a tab is chosen, and
// from the chat output.
#include "tests/desktop/DesktopTest.h"

namespace {

using FocusTest = DesktopTest;

TEST_F(FocusTest, KeysGoToTheChatInputRightAfterStart) {
  ASSERT_TRUE(session.typeLine("Typed right after start"));
  EXPECT_TRUE(receives("Typed right after start"));
}

TEST_F(FocusTest, KeysGoToTheInputLineOfATabChosenByAClick) {
  ASSERT_TRUE(session.input().click(session.main().systemTab()));
  ASSERT_TRUE(session.typeLine("/send demo typed after a click on the System tab"));
  EXPECT_TRUE(receives("typed after a click on the System tab"));

  ASSERT_TRUE(session.input().click(session.main().chatTab()));
  ASSERT_TRUE(session.typeLine("typed after a click on the chat tab"));
  EXPECT_TRUE(receives("typed after a click on the chat tab"));

  // The tab shown already: the strip keeps the focus and passes keys on to the shown page.
  ASSERT_TRUE(session.input().click(session.main().chatTab()));
  ASSERT_TRUE(session.typeLine("typed after a click on the shown tab"));
  EXPECT_TRUE(receives("typed after a click on the shown tab"));
}

// Ctrl+Tab cycles over the plug-in pages only: from the System page it reaches the chat page.
TEST_F(FocusTest, KeysGoToTheChatInputAfterCtrlTab) {
  ASSERT_TRUE(session.input().click(session.main().systemTab()));
  ASSERT_TRUE(session.input().keys({"ctrl+Tab"}));
  ASSERT_TRUE(session.typeLine("typed after ctrl+tab"));
  EXPECT_TRUE(receives("typed after ctrl+tab"));
}

// A character typed into the output moves the focus to the input line, and the output leaves
// the character itself to the new focus window: the whole line arrives.
TEST_F(FocusTest, KeysTypedIntoTheChatOutputReachTheInputLine) {
  const std::string line = "Typed into the output";
  ASSERT_TRUE(session.input().click(session.main().output().centre()));
  ASSERT_TRUE(session.typeLine(line));
  EXPECT_TRUE(receives(line));
}

}  // namespace
