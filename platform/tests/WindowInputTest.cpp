// Real Qt input becomes Win32 messages: keys with auto-repeat, mouse buttons with their masks,
// capture, the close box, focus and activation, keys that reach the focus window only, and
// controls that act only when their class procedure saw the message (a subclass that swallows
// a key keeps it from the widget).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>
#include <string>
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

TEST_F(WindowInput, OnlyTheProgramAndClicksOnControlsMoveTheFocus) {
  HWND a = makeChild(top, 1);
  HWND b = makeChild(top, 2);
  HWND edit = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE, 0, 100, 100, 20, top,
                              reinterpret_cast<HMENU>(3), nullptr, nullptr);
  SetFocus(a);
  seen().clear();
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(sequenceOf(a), std::vector<UINT>{WM_KILLFOCUS});
  EXPECT_EQ(sequenceOf(b), std::vector<UINT>{WM_SETFOCUS});
  QFocusEvent late(QEvent::FocusIn, Qt::ActiveWindowFocusReason);  // the toolkit's own news
  QCoreApplication::sendEvent(vornplatform::clientWidgetOf(a), &late);
  mouse(a, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(GetFocus(), b);
  mouse(edit, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(GetFocus(), edit);

  // The focus goes into another window only with that window active; a hidden one gets none.
  HWND other = makeTop(400, 0, 200, 100);
  HWND inside = makeChild(other, 4);
  EXPECT_EQ(SetFocus(inside), nullptr);
  EXPECT_EQ(GetFocus(), edit);
  ShowWindow(other, SW_SHOWNA);
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(SetFocus(inside), other);  // activated first, the window took the focus itself
  EXPECT_EQ(GetForegroundWindow(), other);
  EXPECT_EQ(GetFocus(), inside);
  DestroyWindow(inside);
  EXPECT_EQ(GetFocus(), nullptr);
  DestroyWindow(other);
}

TEST_F(WindowInput, LateActivationNewsNeverUndoTheProgramsChoice) {
  HWND other = makeTop(400, 0, 200, 100);
  ShowWindow(other, SW_SHOW);
  HWND child = makeChild(other, 1);
  SetFocus(child);
  auto news = [](HWND hwnd, QEvent::Type type) {
    QEvent event(type);
    QCoreApplication::sendEvent(vornplatform::topLevelWidgetOf(hwnd), &event);
  };
  news(top, QEvent::WindowActivate);  // from before the program showed the other window
  news(other, QEvent::WindowDeactivate);
  EXPECT_EQ(GetActiveWindow(), other);
  EXPECT_EQ(GetFocus(), child);
  news(other, QEvent::WindowActivate);  // the window manager caught up
  news(top, QEvent::WindowActivate);    // and now the person clicked the first window
  EXPECT_EQ(GetForegroundWindow(), top);
  EXPECT_EQ(GetFocus(), top);
  DestroyWindow(other);
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

WNDPROC editClassProc = nullptr;
LRESULT CALLBACK recordKeys(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= WM_KEYDOWN && msg <= WM_SYSCHAR) seen().push_back({hwnd, msg, wParam, lParam});
  return CallWindowProcA(editClassProc, hwnd, msg, wParam, lParam);
}

TEST_F(WindowInput, InputAControlLeavesNeverReachesItsParentsAndModifiersTypeNothing) {
  HWND panel = makeChild(top, 1, 0, 0, 250, 150);
  HWND label = CreateWindowExA(0, "Static", "x", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, panel,
                               reinterpret_cast<HMENU>(2), nullptr, nullptr);
  HWND edit = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 30,
                              200, 40, panel, reinterpret_cast<HMENU>(3), nullptr, nullptr);
  editClassProc = reinterpret_cast<WNDPROC>(
      SetWindowLongA(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&recordKeys)));
  HWND focus = GetFocus();
  seen().clear();
  key(label, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");  // a label takes no key
  key(label, QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
  mouse(label, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  const std::pair<Qt::Key, Qt::KeyboardModifier> modifiers[] = {
      {Qt::Key_Shift, Qt::ShiftModifier},
      {Qt::Key_Control, Qt::ControlModifier},
      {Qt::Key_Alt, Qt::AltModifier}};
  for (const auto& m : modifiers) {
    key(edit, QEvent::KeyPress, m.first, m.second, "");
    key(edit, QEvent::KeyRelease, m.first, Qt::NoModifier, "");
  }
  for (HWND parent : {panel, top}) {
    EXPECT_TRUE(messagesIn(parent, WM_KEYDOWN, WM_SYSCHAR).empty());
    EXPECT_TRUE(messagesIn(parent, WM_MOUSEMOVE, WM_MBUTTONDBLCLK).empty());
  }
  std::vector<std::pair<UINT, WPARAM>> got;
  for (const Seen& s : messagesIn(edit, WM_KEYDOWN, WM_SYSCHAR)) got.emplace_back(s.msg, s.wParam);
  EXPECT_EQ(got, (decltype(got){{WM_KEYDOWN, VK_SHIFT},
                                {WM_KEYUP, VK_SHIFT},
                                {WM_KEYDOWN, VK_CONTROL},
                                {WM_KEYUP, VK_CONTROL},
                                {WM_SYSKEYDOWN, VK_MENU},
                                {WM_SYSKEYUP, VK_MENU}}));
  EXPECT_EQ(GetFocus(), focus);
}

std::string textOf(HWND hwnd) {
  char buffer[64] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

void keyboardKey(HWND widgetOf, Qt::Key qtKey, const QString& text) {
  QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
  QSpontaneKeyEvent::setSpontaneous(&event);  // as it comes from the window system
  QCoreApplication::instance()->notify(vornplatform::clientWidgetOf(widgetOf), &event);
}

TEST_F(WindowInput, KeysGoToTheFocusWindowAndLandWhereTheyArePassedOn) {
  HWND out = makeChild(top, 1, 0, 0, 100, 40);
  HWND edit = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 50,
                              200, 40, top, reinterpret_cast<HMENU>(2), nullptr, nullptr);
  // A typed character that the window leaves to another: the focus moves, and the other
  // window's procedure runs for the same message.
  answer() = [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (hwnd != out || msg != WM_CHAR) return false;
    SetFocus(edit);
    auto proc = reinterpret_cast<WNDPROC>(GetWindowLongA(edit, GWL_WNDPROC));
    *result = CallWindowProcA(proc, edit, msg, wParam, lParam);
    return true;
  };
  SetFocus(out);
  key(out, QEvent::KeyPress, Qt::Key_J, Qt::NoModifier, "j");
  EXPECT_EQ(textOf(edit), "j");
  keyboardKey(out, Qt::Key_K, "k");  // Qt gave it to another widget
  EXPECT_EQ(textOf(edit), "jk");
  keyboardKey(out, Qt::Key_Eacute, QString::fromUtf8("\xc3\xa9"));
  EXPECT_EQ(textOf(edit), "jk\xc3\xa9");
  EXPECT_EQ(wParamsOf(out, WM_KEYDOWN), std::vector<WPARAM>{'J'});
  SetFocus(nullptr);
  seen().clear();
  keyboardKey(out, Qt::Key_L, "l");
  EXPECT_EQ(wParamsOf(top, WM_SYSKEYDOWN), std::vector<WPARAM>{'L'});
  EXPECT_EQ(textOf(edit), "jk\xc3\xa9");
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
  // Only the click reaches the parent: the mouse stayed with the button, which took the focus.
  EXPECT_EQ(sequenceOf(top), (std::vector<UINT>{WM_KILLFOCUS, WM_COMMAND}));
  EXPECT_EQ(GetFocus(), push);
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
