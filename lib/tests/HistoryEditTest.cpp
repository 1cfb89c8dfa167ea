#include "lib/HistoryEdit.h"
#include "lib/tests/ControlHarness.h"

#include <string>

using namespace controltest;

namespace {

class HistoryEditTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    if (!systemClassExists("RichEdit20A")) GTEST_SKIP() << "no RichEdit20A control in this build";
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

  HWND hwnd() { return edit.getHwnd(); }
  std::string line() { return textOf(hwnd()); }
  void enter(const char* text) {
    vorntest::typeText(hwnd(), text);
    vorntest::pressKey(hwnd(), VK_RETURN);
  }
  void key(int virtualKey) { vorntest::pressKey(hwnd(), virtualKey); }

  HistoryEditEx edit{"input"};
};

TEST_F(HistoryEditTest, EnterStoresLinesAndUpWalksThemMostRecentFirst) {
  enter("hello");
  enter("/join x");
  enter("HELLO");  // the same entry as hello: moved to the front, kept as first typed
  EXPECT_EQ("", line());
  key(VK_UP);
  EXPECT_EQ("hello", line());
  key(VK_UP);
  EXPECT_EQ("/join x", line());
  key(VK_DOWN);
  EXPECT_EQ("hello", line());
  key(VK_DOWN);
  EXPECT_EQ("", line());
}

TEST_F(HistoryEditTest, TypedTextIsAPrefixIgnoringCase) {
  enter("/join x");
  enter("hello");
  vorntest::typeText(hwnd(), "/J");
  key(VK_UP);
  EXPECT_EQ("/join x", line());
  key(VK_UP);  // nothing older matches: the typed text is back and browsing ends
  EXPECT_EQ("/J", line());
  key(VK_UP);  // browsing anew from the typed text
  EXPECT_EQ("/join x", line());
  key(VK_DOWN);  // nothing newer matches
  EXPECT_EQ("/J", line());
}

TEST_F(HistoryEditTest, UnmatchedOrFreshTextIsStoredBeforeWalking) {
  enter("older");
  enter("newer");
  vorntest::typeText(hwnd(), "draft");
  key(VK_UP);  // no match: draft is stored and the entry after it shown
  EXPECT_EQ("newer", line());
  key(VK_UP);
  EXPECT_EQ("older", line());

  vorntest::typeText(hwnd(), "x");  // typing ends browsing
  key(VK_DOWN);                     // a fresh line is stored and emptied
  EXPECT_EQ("", line());
  key(VK_DOWN);  // walking newer from nothing shows nothing
  EXPECT_EQ("", line());
  key(VK_UP);
  EXPECT_EQ("olderx", line());
  key(VK_UP);
  EXPECT_EQ("draft", line());
}

TEST_F(HistoryEditTest, LongLinesAreStoredWhole) {
  for (size_t length : {512u, 600u}) {
    std::string text(length, 'w');
    text.back() = 'E';
    edit.setText(text.c_str());
    key(VK_RETURN);
    key(VK_UP);
    EXPECT_EQ(text, line()) << length;
    edit.clear();
    key(VK_RETURN);
  }
}

TEST_F(HistoryEditTest, TabCompletesAndCyclesThroughTheRightList) {
  struct Case {
    const char* typed;
    int tabs;
    const char* expected;
  } cases[] = {
      {"al", 1, "alice"},  // first word without a match in the first-word list
      {"al", 2, "bob"},
      {"al", 3, "carol"},
      {"al", 4, "alice"},
      {"/j", 1, "/join"},
      {"/j", 2, "/jab"},
      {"/join AL", 1, "/join alice"},
      {"/join al ", 1, "/join alice "},
      {"/part /p", 1, "/part /p"},  // later words complete from the other list only
      {"say zz", 1, "say zz"},      // no match anywhere: nothing changes
      {"", 1, ""},
      {"c", 2, "alice"},  // carol is last: wraps to the first word
  };
  for (const Case& c : cases) {
    edit.setText(c.typed);
    for (int i = 0; i < c.tabs; ++i) key(VK_TAB);
    EXPECT_EQ(c.expected, line()) << '"' << c.typed << "\" " << c.tabs;
  }
}

TEST_F(HistoryEditTest, SelectedTextIsTheWordAndIsReadWithABound) {
  edit.setText("x bo yy");
  SendMessageA(hwnd(), EM_SETSEL, 2, 4);
  key(VK_TAB);
  EXPECT_EQ("x bob yy", line());

  // A selection longer than the word buffer: only its first 511 characters are the word.
  std::string longWord(520, 'a');
  edit.setWordList(longWord.c_str(), false);
  edit.setText(std::string(600, 'a').c_str());
  SendMessageA(hwnd(), EM_SETSEL, 0, -1);
  key(VK_TAB);
  EXPECT_EQ(std::string(511, 'a'), line());
}

}  // namespace
