#include "lib/HistoryEdit.h"
#include "lib/tests/ToolkitFixture.h"

#include <string>

namespace {

class HistoryEditTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    if (lacksClass("RichEdit20A")) GTEST_SKIP() << "no RichEdit20A control in this build";
    edit.createIn(panel);
    edit.move(0, 0, 600, 40);
    edit.setFocus();
    edit.setWordList(" /join  /jab /part ", true);
    edit.setWordList("alice bob  carol", false);
  }
  void TearDown() override {
    edit.destroy();
    ControlTest::TearDown();
  }

  void type(const char* text) { vorntest::typeText(edit.getHwnd(), text); }
  void enter(const char* text) {
    type(text);
    key(VK_RETURN);
  }
  void key(int virtualKey) { vorntest::pressKey(edit.getHwnd(), virtualKey); }
  // Presses each key in turn and reads the line after each.
  std::string walk(std::initializer_list<int> keys) {
    std::string seen;
    for (int k : keys) {
      key(k);
      seen += "[" + textOf(edit.getHwnd()) + "]";
    }
    return seen;
  }

  HistoryEditEx edit{"input"};
};

TEST_F(HistoryEditTest, UpAndDownWalkStoredLinesMostRecentFirst) {
  enter("hello");
  enter("/join x");
  enter("HELLO");  // the same entry as hello: moved to the front, kept as first typed
  EXPECT_EQ("[hello][/join x][hello][]", walk({VK_UP, VK_UP, VK_DOWN, VK_DOWN}));
}

TEST_F(HistoryEditTest, TypedTextIsAPrefixIgnoringCase) {
  enter("/join x");
  enter("hello");
  type("/J");
  // Nothing older or newer matches: the typed text is back and browsing starts anew from it.
  EXPECT_EQ("[/join x][/J][/join x][/J]", walk({VK_UP, VK_UP, VK_UP, VK_DOWN}));
}

TEST_F(HistoryEditTest, UnmatchedOrFreshTextIsStoredBeforeWalking) {
  enter("older");
  enter("newer");
  type("draft");
  EXPECT_EQ("[newer][older]", walk({VK_UP, VK_UP}));  // no match: draft is stored first
  type("x");  // typing ends browsing; a fresh line is stored and emptied
  EXPECT_EQ("[][][olderx][draft]", walk({VK_DOWN, VK_DOWN, VK_UP, VK_UP}));
}

TEST_F(HistoryEditTest, LongLinesAreStoredWhole) {
  std::string text(600, 'w');
  text.back() = 'E';
  edit.setText(text.c_str());
  EXPECT_EQ("[][" + text + "]", walk({VK_RETURN, VK_UP}));
}

TEST_F(HistoryEditTest, TabCompletesAndCyclesThroughTheRightList) {
  struct Case {
    const char* typed;
    int tabs;
    const char* expected;
  } cases[] = {
      {"al", 1, "alice"},  // first word without a match in the first-word list
      {"al", 2, "bob"},
      {"al", 4, "alice"},
      {"/j", 1, "/join"},
      {"/j", 2, "/jab"},
      {"/join AL", 1, "/join alice"},
      {"/join al ", 1, "/join alice "},
      {"/part /p", 1, "/part /p"},  // later words complete from the other list only
      {"say zz", 1, "say zz"},      // no match anywhere: nothing changes
      {"c", 2, "alice"},            // carol is last: wraps to the first word
  };
  for (const Case& c : cases) {
    edit.setText(c.typed);
    for (int i = 0; i < c.tabs; ++i) key(VK_TAB);
    EXPECT_EQ(c.expected, textOf(edit.getHwnd())) << '"' << c.typed << "\" " << c.tabs;
  }
}

TEST_F(HistoryEditTest, SelectedTextIsTheWordAndIsReadWithABound) {
  edit.setText("x bo yy");
  SendMessageA(edit.getHwnd(), EM_SETSEL, 2, 4);
  EXPECT_EQ("[x bob yy]", walk({VK_TAB}));
  // A selection longer than the word buffer: only its first 511 characters are the word.
  edit.setWordList(std::string(520, 'a').c_str(), false);
  edit.setText(std::string(600, 'a').c_str());
  SendMessageA(edit.getHwnd(), EM_SETSEL, 0, -1);
  EXPECT_EQ("[" + std::string(511, 'a') + "]", walk({VK_TAB}));
}

}  // namespace
