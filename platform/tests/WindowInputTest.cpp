// Real Qt input becomes Win32 messages: keys with auto-repeat, mouse buttons with their masks,
// capture, the close box, focus, and controls that act only when their class procedure saw
// the message (a subclass that swallows a key keeps it from the widget).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <tuple>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

class WindowInput : public ::testing::Test {
 protected:
  void SetUp() override {
    top = makeTop(0, 0, 300, 200);
    ShowWindow(top, SW_SHOW);
    reset();
  }
  void TearDown() override { closeTop(top); }
  HWND top = nullptr;
};

void key(HWND hwnd, QEvent::Type type, int qtKey, Qt::KeyboardModifiers mods, const QString& text,
         bool repeat = false) {
  QKeyEvent event(type, qtKey, mods, text, repeat);
  QCoreApplication::sendEvent(vornplatform::clientWidgetOf(hwnd), &event);
}

void mouse(HWND hwnd, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QWidget* widget = vornplatform::clientWidgetOf(hwnd);
  QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

TEST_F(WindowInput, KeysBecomeKeyDownCharAndKeyUpWithRepeatFlag) {
  SHORT ctrlDuringKey = 0;
  answer() = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
    if (msg == WM_KEYDOWN) ctrlDuringKey = GetKeyState(VK_CONTROL);
    return false;
  };
  key(top, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  key(top, QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a", true);  // repeat pair: ignored
  key(top, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", true);
  key(top, QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
  std::vector<std::tuple<UINT, WPARAM, bool>> got;  // the message, its code, the repeat bit
  for (const Seen& s : seen()) got.emplace_back(s.msg, s.wParam, (s.lParam >> 30) & 1);
  EXPECT_EQ(got, (decltype(got){{WM_KEYDOWN, 'A', false},
                                {WM_CHAR, 'a', false},
                                {WM_KEYDOWN, 'A', true},
                                {WM_CHAR, 'a', true},
                                {WM_KEYUP, 'A', true}}));
  EXPECT_EQ(ctrlDuringKey & 0x8000, 0);

  seen().clear();
  key(top, QEvent::KeyPress, Qt::Key_Return, Qt::ControlModifier, "\r");
  EXPECT_LT(ctrlDuringKey, 0);
  EXPECT_EQ(wParamsOf(top, WM_CHAR), std::vector<WPARAM>{10});  // Ctrl+Enter is a line feed
  seen().clear();
  key(top, QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, "");  // no character for an arrow
  EXPECT_EQ(wParamsOf(top, WM_KEYDOWN), std::vector<WPARAM>{VK_UP});
  EXPECT_TRUE(messagesOf(top, WM_CHAR).empty());
}

TEST_F(WindowInput, MouseButtonsCarryTheStateAfterTheEvent) {
  mouse(top, QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton);
  mouse(top, QEvent::MouseButtonPress, {11, 21}, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
  mouse(top, QEvent::MouseButtonRelease, {11, 21}, Qt::RightButton, Qt::LeftButton);
  mouse(top, QEvent::MouseMove, {12, 22}, Qt::NoButton, Qt::LeftButton);
  mouse(top, QEvent::MouseButtonRelease, {12, 22}, Qt::LeftButton, Qt::NoButton);
  mouse(top, QEvent::MouseButtonDblClick, {12, 22}, Qt::LeftButton, Qt::LeftButton);
  std::vector<std::tuple<UINT, WPARAM, LPARAM>> got;  // the message, its key mask, the point
  for (const Seen& s : seen()) got.emplace_back(s.msg, s.wParam, s.lParam);
  POINT onScreen{11, 21};  // the release's default processing asks for the context menu
  ClientToScreen(top, &onScreen);
  EXPECT_EQ(got, (decltype(got){{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20)},
                                {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(11, 21)},
                                {WM_RBUTTONUP, MK_LBUTTON, MAKELPARAM(11, 21)},
                                {WM_CONTEXTMENU, reinterpret_cast<WPARAM>(top),
                                 MAKELPARAM(onScreen.x, onScreen.y)},
                                {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(12, 22)},
                                {WM_LBUTTONUP, 0, MAKELPARAM(12, 22)},
                                {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(12, 22)}}));
  POINT cursor{};
  EXPECT_TRUE(GetCursorPos(&cursor) && cursor.x == 12 && cursor.y == 22);
}

TEST_F(WindowInput, CaptureRoutesMouseToTheCapturingWindowInItsCoordinates) {
  HWND left = makeChild(top, 1, 0, 0, 50, 50);
  HWND right = makeChild(top, 2, 100, 0, 50, 50);
  EXPECT_EQ(SetCapture(right), nullptr);
  seen().clear();
  mouse(left, QEvent::MouseMove, {10, 5}, Qt::NoButton, Qt::NoButton);
  ASSERT_EQ(seen().size(), 1u);
  EXPECT_EQ(seen()[0].hwnd, right);
  EXPECT_EQ(seen()[0].lParam, MAKELPARAM(-90, 5));  // wraps in 16 bits
  ReleaseCapture();
  EXPECT_EQ(messagesOf(right, WM_CAPTURECHANGED).size(), 1u);
  seen().clear();
  mouse(left, QEvent::MouseMove, {10, 5}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(seen()[0].hwnd, left);
}

TEST_F(WindowInput, CloseBoxSendsWmCloseAndTheDefaultDestroys) {
  QWidget* frame = vornplatform::topLevelWidgetOf(top);
  answer() = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) { return msg == WM_CLOSE; };
  QCloseEvent keep;
  QCoreApplication::sendEvent(frame, &keep);
  EXPECT_FALSE(keep.isAccepted());
  EXPECT_TRUE(IsWindow(top));
  EXPECT_EQ(messagesOf(top, WM_CLOSE).size(), 1u);
  answer() = nullptr;
  QCloseEvent close;
  QCoreApplication::sendEvent(frame, &close);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_EQ(messagesOf(top, WM_DESTROY).size(), 1u);
}

TEST_F(WindowInput, FocusIsTrackedWithKillAndSetFocusMessages) {
  HWND a = makeChild(top, 1);
  HWND b = makeChild(top, 2);
  SetFocus(a);
  seen().clear();
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(sequenceOf(a), std::vector<UINT>{WM_KILLFOCUS});
  EXPECT_EQ(sequenceOf(b), std::vector<UINT>{WM_SETFOCUS});
  QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);  // a click into the widget
  QCoreApplication::sendEvent(vornplatform::clientWidgetOf(a), &in);
  EXPECT_EQ(GetFocus(), a);
  DestroyWindow(a);
  EXPECT_EQ(GetFocus(), nullptr);
}

WNDPROC buttonClassProc = nullptr;
LRESULT CALLBACK swallowKeys(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR) return 0;
  return CallWindowProcA(buttonClassProc, hwnd, msg, wParam, lParam);
}

TEST_F(WindowInput, ControlsActOnlyOnInputTheirClassProcedureSaw) {
  HWND check = CreateWindowExA(0, "BUTTON", "Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 0,
                               100, 20, top, reinterpret_cast<HMENU>(5), nullptr, nullptr);
  auto press = [&] {
    key(check, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    key(check, QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
  };
  buttonClassProc = reinterpret_cast<WNDPROC>(
      SetWindowLongA(check, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&swallowKeys)));
  press();
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(messagesOf(top, WM_COMMAND).empty());

  SetWindowLongA(check, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(buttonClassProc));
  press();
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(check, BM_SETCHECK, BST_UNCHECKED, 0);  // setting the check is not a click
  EXPECT_EQ(wParamsOf(top, WM_COMMAND), std::vector<WPARAM>{MAKEWPARAM(5, BN_CLICKED)});
  EXPECT_EQ(messagesOf(top, WM_COMMAND)[0].lParam, reinterpret_cast<LPARAM>(check));
}

TEST_F(WindowInput, InputHandlersSeeWhereAndWhenTheInputHappened) {
  HWND child = makeChild(top, 1, 30, 40, 80, 60);
  POINT during{-1, -1};
  LONG timeDuring = -1;
  answer() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT*) {
    if (hwnd == child && (msg == WM_LBUTTONDOWN || msg == WM_KEYDOWN)) {
      DWORD pos = GetMessagePos();
      during = POINT{static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos))};
      timeDuring = GetMessageTime();
    }
    return false;
  };
  DWORD before = GetTickCount();
  ASSERT_TRUE(vorntest::clickAt(child, 7, 9));
  POINT expected{7, 9};
  ClientToScreen(child, &expected);
  EXPECT_TRUE(during.x == expected.x && during.y == expected.y);
  EXPECT_GE(static_cast<DWORD>(timeDuring), before);

  ASSERT_TRUE(vorntest::clickAt(child, 50, 30));
  during = POINT{-1, -1};
  ASSERT_TRUE(vorntest::pressKey(child, VK_DOWN));
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_TRUE(during.x == cursor.x && during.y == cursor.y);  // a key reports the cursor
}

TEST_F(WindowInput, PushButtonClickAndStaticNotifications) {
  HWND push = CreateWindowExA(0, "Button", "Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 80,
                              24, top, reinterpret_cast<HMENU>(9), nullptr, nullptr);
  mouse(push, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  mouse(push, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
  // Only the click reaches the parent: the mouse stayed with the button.
  EXPECT_EQ(sequenceOf(top), std::vector<UINT>{WM_COMMAND});
  EXPECT_EQ(seen().back().wParam, MAKEWPARAM(9, BN_CLICKED));

  HWND quiet = CreateWindowExA(0, "Static", "a", WS_CHILD, 0, 30, 50, 20, top,
                               reinterpret_cast<HMENU>(3), nullptr, nullptr);
  HWND notify = CreateWindowExA(0, "Static", "b", WS_CHILD | SS_NOTIFY, 0, 60, 50, 20, top,
                                reinterpret_cast<HMENU>(4), nullptr, nullptr);
  seen().clear();
  SendMessageA(quiet, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(notify, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(notify, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  EXPECT_EQ(wParamsOf(top, WM_COMMAND),
            (std::vector<WPARAM>{MAKEWPARAM(4, STN_CLICKED), MAKEWPARAM(4, STN_DBLCLK)}));

  char text[32];  // the bytes of a text stay as given, whatever their encoding
  SetWindowTextA(notify, "caf\xc3\xa9 \x93q\x94");
  EXPECT_TRUE(GetWindowTextA(notify, text, sizeof text) && !strcmp(text, "caf\xc3\xa9 \x93q\x94"));
}

}  // namespace
