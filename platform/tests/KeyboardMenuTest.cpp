// The keyboard's way into a window's menu bar: Alt with a letter on any window inside it, Alt
// alone and F10 reach the top-level window as SC_KEYMENU, whose default processing opens the
// named pull-down; another key in between, a window that handles the key itself, or one
// without a bar, opens nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/testing.h"
#include "platform/testing_menus.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

const LPARAM kAltHeld = 1L << 29;

class KeyboardMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    vorntest::clearRecordedBeeps();
    top = makeTop(10, 20, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    child = makeChild(top, 1);
  }
  void TearDown() override {
    shownThenClosed();
    DestroyWindow(top);
    reset();
  }
  // "&File" and "System" pull-downs and a command "Help" (id 9).
  void giveBar() {
    HMENU bar = CreateMenu();
    for (const char* name : {"&File", "System"}) {
      HMENU sub = CreatePopupMenu();
      AppendMenuA(sub, MF_STRING, 1, "Item");
      AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), name);
    }
    AppendMenuA(bar, MF_STRING, 9, "Help");
    SetMenu(top, bar);
  }
  // The pull-down shown (-1: none), closed afterwards.
  int shownThenClosed() {
    int shown = vorntest::shownMenuBarPullDown(top);
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    return shown;
  }
  HWND top = nullptr;
  HWND child = nullptr;
};

TEST_F(KeyboardMenu, AltWithALetterOnAChildOpensThePullDownItNames) {
  giveBar();
  DefWindowProcA(child, WM_SYSCHAR, 's', kAltHeld);
  EXPECT_EQ(wParamsOf(top, WM_SYSCOMMAND), std::vector<WPARAM>{SC_KEYMENU});
  EXPECT_EQ(messagesOf(top, WM_SYSCOMMAND)[0].lParam, 's');
  EXPECT_EQ(shownThenClosed(), 1);  // no mnemonic: the first letter
  DefWindowProcA(child, WM_SYSCHAR, 'F', kAltHeld);  // the mnemonic, case ignored
  EXPECT_EQ(shownThenClosed(), 0);
  DefWindowProcA(child, WM_SYSCHAR, 'h', kAltHeld);  // a command item runs its command
  vorntest::pumpUntil([&] { return !messagesOf(top, WM_COMMAND).empty(); }, 1000);
  EXPECT_EQ(wParamsOf(top, WM_COMMAND), std::vector<WPARAM>{MAKEWPARAM(9, 0)});
  EXPECT_TRUE(vorntest::recordedBeeps().empty());
  DefWindowProcA(child, WM_SYSCHAR, 'q', kAltHeld);  // nothing starts with it
  DefWindowProcA(child, WM_SYSCHAR, ' ', kAltHeld);  // Alt+Space is not the bar's
  EXPECT_EQ(shownThenClosed(), -1);
  EXPECT_EQ(vorntest::recordedBeeps(), std::vector<UINT>{0});
  EXPECT_EQ(messagesOf(top, WM_SYSCOMMAND).size(), 4u);
}

// Alt alone and F10 opening the first pull-down are driven on a real desktop.
TEST_F(KeyboardMenu, AnotherKeyBetweenAltsPressAndReleaseOrShiftF10OpenNoMenu) {
  giveBar();
  auto send = [&](QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(type, key, modifiers);
    QApplication::sendEvent(vornplatform::clientWidgetOf(child), &event);
  };
  send(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  send(QEvent::KeyPress, Qt::Key_X, Qt::AltModifier);
  send(QEvent::KeyRelease, Qt::Key_X, Qt::AltModifier);
  send(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  ASSERT_TRUE(vorntest::pressKey(child, VK_F10, vorntest::ShiftKey));
  EXPECT_EQ(wParamsOf(child, WM_SYSKEYUP), (std::vector<WPARAM>{'X', VK_MENU, VK_F10}));
  EXPECT_TRUE(messagesOf(top, WM_SYSCOMMAND).empty());
  EXPECT_EQ(messagesOf(top, WM_CONTEXTMENU).size(), 1u);
}

TEST_F(KeyboardMenu, AKeyAWindowHandlesItselfOrAWindowWithoutABarOpensNothing) {
  answer() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT* result) {
    *result = 0;
    return hwnd == child && msg == WM_SYSCHAR;
  };
  SendMessageA(child, WM_SYSCHAR, 's', kAltHeld);
  EXPECT_TRUE(messagesOf(top, WM_SYSCOMMAND).empty());
  ASSERT_TRUE(vorntest::pressKey(child, VK_MENU));  // no bar: Alt alone is quiet
  DefWindowProcA(child, WM_SYSCHAR, 's', kAltHeld);
  EXPECT_EQ(vorntest::recordedBeeps(), std::vector<UINT>{0});
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

}  // namespace
