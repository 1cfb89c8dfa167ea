#include "lib/SimpleEdit.h"
#include "lib/tests/ToolkitFixture.h"

namespace {

class EditTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    if (lacksClass("RichEdit20A")) GTEST_SKIP() << "no RichEdit20A control in this build";
    edit.createIn(panel);
    edit.move(0, 0, 400, 60);
    edit.setFocus();
  }
  void TearDown() override {
    edit.destroy();
    ControlTest::TearDown();
  }

  class CountingEdit : public SimpleEdit {
   public:
    using SimpleEdit::SimpleEdit;
    bool onEnter() override {
      ++enters;
      return SimpleEdit::onEnter();
    }
    int enters = 0;
  } edit{"input"};
};

TEST_F(EditTest, IsAPlainTextRichEditMadeUnplaced) {
  SimpleEdit other("other");
  other.createIn(panel);
  HWND hwnd = other.getHwnd();
  EXPECT_EQ(0x50010044, GetWindowLongA(hwnd, GWL_STYLE) & 0xFFFFFFFF);
  EXPECT_EQ(0x300, GetWindowLongA(hwnd, GWL_EXSTYLE) & 0x300);
  EXPECT_EQ((Box{10, 10, 0, 0}), layerPlacement(hwnd));
  EXPECT_TRUE(SendMessageA(hwnd, EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT);
}

TEST_F(EditTest, EnterRunsOnEnterAndControlEnterBreaksTheLine) {
  HWND hwnd = edit.getHwnd();
  edit.setText("first line");
  edit.setText("hel");  // replaces everything and leaves the caret at the end
  ASSERT_TRUE(vorntest::typeText(hwnd, "lo"));
  EXPECT_EQ("hello", textOf(hwnd));
  ASSERT_TRUE(vorntest::pressKey(hwnd, VK_RETURN));
  EXPECT_EQ(1, edit.enters);
  EXPECT_EQ("", textOf(hwnd));  // the default empties the line

  // Repeats of a held key are not dispatched, and the Enter character is swallowed.
  vorntest::typeText(hwnd, "x");
  ASSERT_TRUE(vorntest::pressKey(hwnd, VK_RETURN, vorntest::NoModifier, true));
  EXPECT_EQ(1, edit.enters);
  EXPECT_EQ("x", textOf(hwnd));

  // Control+Enter is left to the control, which breaks the line.
  ASSERT_TRUE(vorntest::pressKey(hwnd, VK_RETURN, vorntest::ControlKey));
  vorntest::typeText(hwnd, "b");
  EXPECT_EQ(1, edit.enters);
  EXPECT_EQ("x\r\nb", textOf(hwnd));
}

TEST_F(EditTest, ReadOnlyAndColours) {
  HWND hwnd = edit.getHwnd();
  edit.setText("fixed");
  edit.setReadOnly(true);
  vorntest::typeText(hwnd, "zz");
  EXPECT_EQ("fixed", textOf(hwnd));
  edit.setReadOnly(false);
  edit.setTextColour(RGB(200, 0, 0));
  vorntest::typeText(hwnd, "++");
  auto runs = vorntest::richEditRuns(hwnd);
  ASSERT_FALSE(runs.empty());
  for (const auto& run : runs) EXPECT_EQ(RGB(200, 0, 0), run.colour) << run.text;

  edit.setBackgroundColour(RGB(0, 0, 90));
  // The control answers the colour it had: the one just set.
  EXPECT_EQ(RGB(0, 0, 90),
            static_cast<COLORREF>(SendMessageA(hwnd, EM_SETBKGNDCOLOR, 0, RGB(1, 2, 3))));
}

}  // namespace
