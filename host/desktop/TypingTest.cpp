// Typing and pasting into the chat input and the System command line.
#include "host/desktop/DesktopTest.h"

namespace {

const std::string kSentence = "Hello, World: Join Dessin at 9!";
const std::string kAccented = DesktopSession::Accented;

using TypingTest = DesktopTest;

TEST_F(TypingTest, SentencesTypedIntoTheChatInputArriveWhole) {
  ASSERT_TRUE(session.input().click(session.main().inputLine()));
  ASSERT_TRUE(session.typeLine("join Dessin"));
  EXPECT_TRUE(receives("join Dessin"));
  ASSERT_TRUE(session.typeLine(kSentence));
  EXPECT_TRUE(receives(kSentence));
}

TEST_F(TypingTest, SentenceTypedIntoTheSystemCommandLineArrivesWhole) {
  clickSystemCommandLine();
  ASSERT_TRUE(session.typeLine("/send demo " + kSentence));
  EXPECT_TRUE(receives(kSentence));
}

TEST_F(TypingTest, CtrlVAndShiftInsertPasteIntoTheChatInput) {
  ASSERT_TRUE(session.setClipboard("pasted with ctrl+v"));
  ASSERT_TRUE(session.input().click(session.main().inputLine()));
  ASSERT_TRUE(session.input().keys({"ctrl+v", "Return"}));
  EXPECT_TRUE(receives("pasted with ctrl+v"));

  ASSERT_TRUE(session.setClipboard("pasted with shift+insert"));
  ASSERT_TRUE(session.input().click(session.main().inputLine()));
  ASSERT_TRUE(session.input().keys({"shift+Insert", "Return"}));
  EXPECT_TRUE(receives("pasted with shift+insert"));
}

TEST_F(TypingTest, CtrlVAndShiftInsertPasteIntoTheSystemCommandLine) {
  ASSERT_TRUE(session.setClipboard("/send demo pasted with ctrl+v"));
  clickSystemCommandLine();
  ASSERT_TRUE(session.input().keys({"ctrl+v", "Return"}));
  EXPECT_TRUE(receives("pasted with ctrl+v"));

  ASSERT_TRUE(session.setClipboard("/send demo pasted with shift+insert"));
  ASSERT_TRUE(session.input().click(session.main().inputLine()));
  ASSERT_TRUE(session.input().keys({"shift+Insert", "Return"}));
  EXPECT_TRUE(receives("pasted with shift+insert"));
}

TEST_F(TypingTest, NonAsciiTextArrivesAsTypedAndAsPasted) {
  ASSERT_TRUE(session.input().click(session.main().inputLine()));
  ASSERT_TRUE(session.typeLine(kAccented));
  EXPECT_TRUE(receives(kAccented));

  ASSERT_TRUE(session.setClipboard(kAccented + " (pasted)"));
  ASSERT_TRUE(session.input().click(session.main().inputLine()));
  ASSERT_TRUE(session.input().keys({"ctrl+v", "Return"}));
  EXPECT_TRUE(receives(kAccented + " (pasted)"));
}

}  // namespace
