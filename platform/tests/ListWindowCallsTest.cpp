// What a list drawn in a rich edit relies on: the mouse leaving tracked once, a caret hidden
// and brought back, fonts made by size and face on edits, the character and line under a
// point, and a pop-up item whose id is 0.
#include <gtest/gtest.h>

#include <QTextEdit>
#include <string>

#include "platform/ControlClass.h"
#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

// A subclass procedure that asks for the leave on every move, as a list marking the line
// under the mouse does, and counts the leaves.
WNDPROC editProc = nullptr;
int leaves = 0;

LRESULT CALLBACK trackingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MOUSEMOVE) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd, HOVER_DEFAULT};
    EXPECT_TRUE(TrackMouseEvent(&track));
  }
  if (msg == WM_MOUSELEAVE) ++leaves;
  return CallWindowProcA(editProc, hwnd, msg, wParam, lParam);
}

class ListWindowCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    leaves = 0;
    top = makeTop(0, 0, 500, 300);
    ShowWindow(top, SW_SHOW);
    edit = makeEdit("RichEdit20A", 0);
    other = makeChild(top, 9, 300, 0, 100, 100);
  }
  void TearDown() override { closeTop(top); }
  HWND makeEdit(const char* cls, int y) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, y, 200, 120, top,
                           nullptr, nullptr, nullptr);
  }
  int leavesAfterPumping() {
    vorntest::pumpFor(20);
    return leaves;
  }
  HWND top = nullptr;
  HWND edit = nullptr;
  HWND other = nullptr;
};

TEST_F(ListWindowCalls, TheMouseLeavingATrackedWindowIsToldOnce) {
  editProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(trackingProc)));
  ASSERT_TRUE(vorntest::moveMouseTo(edit, 10, 10));
  ASSERT_TRUE(vorntest::moveMouseTo(edit, 40, 30));
  EXPECT_EQ(leavesAfterPumping(), 0);  // moving inside is no leave
  vorntest::moveMouseTo(other, 5, 5);
  vorntest::moveMouseTo(other, 6, 6);
  EXPECT_EQ(leavesAfterPumping(), 1);  // one leave, not one per move elsewhere

  // Leaving the program's windows altogether.
  vorntest::moveMouseTo(edit, 10, 10);
  ASSERT_TRUE(vorntest::moveMouseOutOf(edit));
  EXPECT_EQ(leavesAfterPumping(), 2);

  // A cancelled tracking tells nothing.
  vorntest::moveMouseTo(edit, 10, 10);
  TRACKMOUSEEVENT cancel{sizeof(TRACKMOUSEEVENT), TME_LEAVE | TME_CANCEL, edit, 0};
  EXPECT_TRUE(TrackMouseEvent(&cancel));
  vorntest::moveMouseTo(other, 5, 5);
  EXPECT_EQ(leavesAfterPumping(), 2);

  // Asked while the mouse is elsewhere: the leave comes at once.
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, edit, 0};
  EXPECT_TRUE(TrackMouseEvent(&track));
  EXPECT_EQ(leavesAfterPumping(), 3);

  // Hover tracking, a short record and a dead window are refused.
  TRACKMOUSEEVENT bad[] = {{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, edit, 0},
                           {sizeof(TRACKMOUSEEVENT) - 8, TME_LEAVE, edit, 0},
                           {sizeof(TRACKMOUSEEVENT), TME_LEAVE, nullptr, 0}};
  for (TRACKMOUSEEVENT& b : bad) EXPECT_FALSE(TrackMouseEvent(&b)) << b.cbSize << b.dwFlags;
  EXPECT_FALSE(TrackMouseEvent(nullptr));
}

TEST_F(ListWindowCalls, HiddenCaretsCountAndComeBackWithTheFocus) {
  QTextEdit* widget = vornplatform::controlWidget<QTextEdit>(edit);
  ASSERT_NE(widget, nullptr);
  int shown = widget->cursorWidth();
  ASSERT_GT(shown, 0);
  EXPECT_TRUE(HideCaret(edit) && HideCaret(edit));
  EXPECT_EQ(widget->cursorWidth(), 0);
  EXPECT_TRUE(ShowCaret(edit));
  EXPECT_EQ(widget->cursorWidth(), 0);  // hidden twice, shown once
  EXPECT_TRUE(ShowCaret(edit) && ShowCaret(edit));
  EXPECT_EQ(widget->cursorWidth(), shown);

  SetFocus(edit);
  EXPECT_TRUE(HideCaret(nullptr));  // the focused window's caret
  EXPECT_EQ(widget->cursorWidth(), 0);
  SetFocus(other);
  SetFocus(edit);
  EXPECT_EQ(widget->cursorWidth(), shown);

  EXPECT_FALSE(HideCaret(other));  // a window without a caret
  EXPECT_FALSE(ShowCaret(other));
}

TEST_F(ListWindowCalls, FontsBySizeAndFaceReachEditsAndRichEdits) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
  int height = -(10 * GetDeviceCaps(screen, LOGPIXELSY) / 72);  // 10 points
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  ASSERT_EQ(height, -13);

  HWND plain = makeEdit("EDIT", 130);
  for (HWND target : {edit, plain}) {
    HFONT font = CreateFontA(height, 0, 0, 0, FW_BOLD, TRUE, TRUE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_ROMAN, "Times New Roman");
    ASSERT_NE(font, nullptr);
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_TRUE(lf.lfHeight == -13 && lf.lfWeight == FW_BOLD && lf.lfItalic && lf.lfUnderline &&
                !lf.lfStrikeOut);
    EXPECT_STREQ(lf.lfFaceName, "Times New Roman");

    SendMessageA(target, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(SendMessageA(target, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    SetWindowTextA(target, "typed line");
    CHARFORMAT2A cf{};
    cf.cbSize = sizeof cf;
    SendMessageA(target, EM_SETSEL, 0, 5);
    SendMessageA(target, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    EXPECT_EQ(cf.yHeight, 195);  // 13 pixels at 96 DPI
    EXPECT_EQ(cf.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE),
              static_cast<DWORD>(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE));
    EXPECT_STREQ(cf.szFaceName, "Times New Roman");

    // A new font replaces the old one, which the owner may then delete.
    HFONT next = CreateFontA(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                             0, "Lucida Console");
    SendMessageA(target, WM_SETFONT, reinterpret_cast<WPARAM>(next), TRUE);
    EXPECT_TRUE(DeleteObject(font));
    SendMessageA(target, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    EXPECT_EQ(cf.yHeight, 240);
    EXPECT_EQ(cf.dwEffects & CFE_BOLD, 0u);
    DestroyWindow(target);
    EXPECT_TRUE(DeleteObject(next));
  }
}

TEST_F(ListWindowCalls, TheCharacterUnderAPointAgreesWithTheLines) {
  // The same three lines in a rich edit (a POINTL through lParam) and in an edit (the point
  // packed into lParam, the line in the answer's high word).
  HWND plain = makeEdit("EDIT", 130);
  const char* text = "alpha\r\nbeta\r\ngamma";
  SetWindowTextA(edit, text);
  SetWindowTextA(plain, text);
  int lastLine = -1;
  for (int y = 2; y < 100; y += 3) {
    POINTL point{4, y};
    LRESULT rich = SendMessageA(edit, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point));
    LRESULT packed = SendMessageA(plain, EM_CHARFROMPOS, 0, MAKELPARAM(4, y));
    int character = LOWORD(packed);
    int line = HIWORD(packed);
    EXPECT_EQ(line, SendMessageA(plain, EM_LINEFROMCHAR, static_cast<WPARAM>(character), 0)) << y;
    EXPECT_EQ(SendMessageA(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(rich), 0), line) << y;
    LRESULT start = SendMessageA(plain, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    LRESULT length = SendMessageA(plain, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    EXPECT_TRUE(character >= start && character <= start + length) << y;
    EXPECT_GE(line, lastLine) << y;
    lastLine = line;
  }
  EXPECT_EQ(lastLine, 2);  // every line was under some point
}

TEST_F(ListWindowCalls, APopupItemWithIdZeroIsAChoiceNotADismissal) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 0, "Query");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, 1, "Ping");
  EnableMenuItem(menu, 1, MF_BYCOMMAND | MF_GRAYED);
  EXPECT_TRUE(GetMenuState(menu, 1, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(menu, 0, MF_BYCOMMAND) & MF_GRAYED);

  auto commands = [&]() {
    std::vector<WPARAM> ids;
    MSG m;
    while (PeekMessageA(&m, top, WM_COMMAND, WM_COMMAND, PM_REMOVE)) ids.push_back(m.wParam);
    return ids;
  };
  vorntest::pickNextPopupMenuItem(0);
  EXPECT_TRUE(TrackPopupMenu(menu, TPM_RIGHTBUTTON, 10, 10, 0, top, nullptr));
  EXPECT_EQ(commands(), std::vector<WPARAM>{MAKEWPARAM(0, 0)});
  vorntest::answerNextPopupMenu(0);    // dismissed
  vorntest::pickNextPopupMenuItem(1);  // grayed: as good as dismissed
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, 10, 10, 0, top, nullptr);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, 10, 10, 0, top, nullptr);
  EXPECT_TRUE(commands().empty());
  EnableMenuItem(menu, 1, MF_BYCOMMAND | MF_ENABLED);
  vorntest::pickNextPopupMenuItem(1);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, 10, 10, 0, top, nullptr);
  EXPECT_EQ(commands(), std::vector<WPARAM>{MAKEWPARAM(1, 0)});
  vorntest::clearPopupMenuAnswers();
  DestroyMenu(menu);
}

}  // namespace
