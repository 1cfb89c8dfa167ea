// Typing and pasting into the chat input and the System command line.
#include <functional>

#include "tests/desktop/DesktopTest.h"

namespace {

const std::string kSentence = "Hello, World: Join Dessin at 9!";
const std::string kAccented = DesktopSession::Accented;

class TypingTest : public DesktopTest {
 protected:
  // Pastes with Ctrl+V, then with Shift+Insert, into the input line that clickInput focuses;
  // prefix turns the pasted text into a line for the server.
  void pasteBothWays(const std::function<void()>& clickInput, const std::string& prefix) {
    for (const char* key : {"ctrl+v", "shift+Insert"}) {
      std::string text = std::string("pasted with ") + key;
      ASSERT_TRUE(session.setClipboard(prefix + text));
      clickInput();
      ASSERT_TRUE(session.input().keys({key, "Return"}));
      EXPECT_TRUE(receives(text));
    }
  }
};

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
  pasteBothWays([this] { session.input().click(session.main().inputLine()); }, "");
}

TEST_F(TypingTest, CtrlVAndShiftInsertPasteIntoTheSystemCommandLine) {
  pasteBothWays([this] { clickSystemCommandLine(); }, "/send demo ");
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
