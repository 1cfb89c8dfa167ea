// Rich-edit lines: display lines, EM_GETLINE's buffer rules, line scrolling and the
// character under a point.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

class RichEditLines : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    top = makeTop(0, 0, 500, 300);
    ShowWindow(top, SW_SHOW);
    edit = make(460);
  }
  void TearDown() override {
    if (IsWindow(top)) DestroyWindow(top);
    vornplatform::processEventsFor(1);
    reset();
  }
  HWND make(int width) {
    return CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE,
                           0, 0, width, 120, top, nullptr, nullptr, nullptr);
  }
  LRESULT send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageA(edit, msg, w, l); }
  void append(HWND hwnd, const char* text) {
    SendMessageA(hwnd, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendMessageA(hwnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
  }
  // EM_GETLINE with the maximum in the first WORD; the rest of the buffer is 'Z'.
  std::string line(int index, WORD max, char* after = nullptr) {
    char buffer[128];
    std::memset(buffer, 'Z', sizeof buffer);
    std::memcpy(buffer, &max, sizeof max);
    LRESULT n = send(EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    if (after) *after = buffer[n];
    return std::string(buffer, static_cast<size_t>(n));
  }
  HWND top = nullptr;
  HWND edit = nullptr;
};

TEST_F(RichEditLines, GetLineReadsItsMaximumFromTheBufferAndWritesNoNul) {
  append(edit, "first\r\nsecond line\r\nlast");
  char after = 0;
  EXPECT_EQ(line(1, 100, &after), "second line\r");  // a paragraph end reads as "\r"
  EXPECT_EQ(after, 'Z');                             // and nothing is terminated
  EXPECT_EQ(line(1, 4, &after), "seco");
  EXPECT_EQ(after, 'Z');
  EXPECT_EQ(line(2, 100), "last");
  EXPECT_EQ(line(3, 100), "");
  EXPECT_EQ(line(0, 0), "");

  EXPECT_EQ(send(EM_GETLINECOUNT), 3);
  EXPECT_EQ(send(EM_LINEINDEX, 1), 6);
  EXPECT_EQ(send(EM_LINEINDEX, 2), 18);
  EXPECT_EQ(send(EM_LINEINDEX, 7), -1);
  EXPECT_EQ(send(EM_LINELENGTH, 8), 11);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, 8), 1);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, 18), 2);
  send(EM_SETSEL, 7, 7);
  EXPECT_EQ(send(EM_LINEINDEX, static_cast<WPARAM>(-1)), 6);
}

TEST_F(RichEditLines, LinesAreDisplayLinesOfWrappedParagraphs) {
  HWND narrow = make(80);
  append(narrow, "one two three four five six seven eight nine ten\r\nend");
  LRESULT count = SendMessageA(narrow, EM_GETLINECOUNT, 0, 0);
  EXPECT_GT(count, 2);
  LRESULT second = SendMessageA(narrow, EM_LINEINDEX, 1, 0);
  EXPECT_GT(second, 0);
  EXPECT_LT(second, 48);
  EXPECT_EQ(SendMessageA(narrow, EM_EXLINEFROMCHAR, 0, second), 1);
  EXPECT_EQ(SendMessageA(narrow, EM_LINEINDEX, static_cast<WPARAM>(count - 1), 0), 49);
}

TEST_F(RichEditLines, LineScrollMovesTheFirstVisibleLineAndCharFromPosFollows) {
  for (int i = 0; i < 80; ++i) append(edit, i ? "\r\nrow" : "row");
  EXPECT_EQ(send(EM_GETFIRSTVISIBLELINE), 0);
  send(EM_LINESCROLL, 0, 10);
  EXPECT_EQ(send(EM_GETFIRSTVISIBLELINE), 10);
  send(EM_LINESCROLL, 0, -3);
  EXPECT_EQ(send(EM_GETFIRSTVISIBLELINE), 7);
  POINTL corner{2, 2};
  EXPECT_EQ(send(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&corner)), send(EM_LINEINDEX, 7));
  send(EM_LINESCROLL, 0, -100);
  EXPECT_EQ(send(EM_GETFIRSTVISIBLELINE), 0);
  EXPECT_EQ(send(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&corner)), 0);
}

// A subclass that records the scrolling messages and may swallow them.
WNDPROC richEditClassProc = nullptr;
UINT swallowed = 0;
LRESULT CALLBACK watchScrolling(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MOUSEWHEEL || msg == WM_VSCROLL) seen().push_back({hwnd, msg, wParam, lParam});
  if (msg == swallowed) return 0;
  return CallWindowProcA(richEditClassProc, hwnd, msg, wParam, lParam);
}

TEST_F(RichEditLines, WheelAndScrollBarScrollThroughTheWindowProcedure) {
  for (int i = 0; i < 80; ++i) append(edit, i ? "\r\nrow" : "row");
  send(EM_LINESCROLL, 0, 30);
  richEditClassProc = reinterpret_cast<WNDPROC>(
      SetWindowLongA(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&watchScrolling)));
  swallowed = 0;
  auto first = [&] { return send(EM_GETFIRSTVISIBLELINE); };

  ASSERT_TRUE(vorntest::wheelAt(edit, 50, 40, WHEEL_DELTA, vorntest::ShiftKey));
  EXPECT_EQ(first(), 27);  // three lines a notch
  std::vector<Seen> wheel = messagesOf(edit, WM_MOUSEWHEEL);
  ASSERT_EQ(wheel.size(), 1u);
  EXPECT_EQ(static_cast<short>(HIWORD(wheel[0].wParam)), WHEEL_DELTA);
  EXPECT_EQ(LOWORD(wheel[0].wParam), MK_SHIFT);
  POINT screen{50, 40};
  ClientToScreen(edit, &screen);
  EXPECT_EQ(wheel[0].lParam, MAKELPARAM(screen.x, screen.y));
  vorntest::wheelAt(edit, 50, 40, -2 * WHEEL_DELTA);
  EXPECT_EQ(first(), 33);
  vorntest::wheelAt(edit, 50, 40, -WHEEL_DELTA / 2);  // half a notch waits for the other half
  EXPECT_EQ(first(), 33);
  vorntest::wheelAt(edit, 50, 40, -WHEEL_DELTA / 2);
  EXPECT_EQ(first(), 36);
  swallowed = WM_MOUSEWHEEL;
  vorntest::wheelAt(edit, 50, 40, WHEEL_DELTA);
  EXPECT_EQ(first(), 36);

  // Dragging the thumb up: the view follows the thumb, and letting go ends the drag.
  swallowed = 0;
  seen().clear();
  POINT thumb{};
  ASSERT_TRUE(vorntest::richEditThumbCentre(edit, &thumb));
  ASSERT_TRUE(vorntest::dragFrom(edit, thumb.x, thumb.y, thumb.x, thumb.y - 20));
  std::vector<WPARAM> sent = wParamsOf(edit, WM_VSCROLL);
  std::vector<WPARAM> codes;
  for (WPARAM w : sent) codes.push_back(LOWORD(w));
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes.front(), static_cast<WPARAM>(SB_THUMBTRACK));
  EXPECT_EQ(std::vector<WPARAM>(codes.end() - 2, codes.end()),
            (std::vector<WPARAM>{SB_THUMBPOSITION, SB_ENDSCROLL}));
  LRESULT dragged = first();
  EXPECT_LT(dragged, 36);
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(edit, SB_VERT, &info);
  EXPECT_EQ(HIWORD(sent[sent.size() - 2]), info.nPos);  // let go where the view now is

  swallowed = WM_VSCROLL;
  ASSERT_TRUE(vorntest::richEditThumbCentre(edit, &thumb));
  vorntest::dragFrom(edit, thumb.x, thumb.y, thumb.x, thumb.y + 40);
  EXPECT_EQ(first(), dragged);
  SetWindowLongA(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(richEditClassProc));
}

TEST_F(RichEditLines, TheWheelOverAWindowThatLeavesItGoesOnToTheParent) {
  HWND child = makeChild(top, 3, 10, 150, 80, 40);
  ASSERT_TRUE(vorntest::wheelAt(child, 5, 5, -WHEEL_DELTA));
  std::vector<Seen> atChild = messagesOf(child, WM_MOUSEWHEEL);
  std::vector<Seen> atTop = messagesOf(top, WM_MOUSEWHEEL);
  ASSERT_EQ(atChild.size(), 1u);
  ASSERT_EQ(atTop.size(), 1u);
  EXPECT_EQ(atTop[0].wParam, atChild[0].wParam);
  EXPECT_EQ(atTop[0].lParam, atChild[0].lParam);  // the point stays on the screen
}

}  // namespace
