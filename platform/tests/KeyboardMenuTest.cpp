// The keyboard's way into a window's menu bar: Alt with a letter on any window inside it, Alt
// pressed and released alone and F10 reach the top-level window as WM_SYSCOMMAND SC_KEYMENU,
// whose default processing opens the named pull-down; a window that handles the key itself,
// or a window without a bar, opens nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/MenuAccess.h"
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
    closePullDown();
    vornplatform::setPopupChooser(nullptr);
    DestroyWindow(top);
    reset();
  }
  // "&File" and "System" pull-downs and a command "Help" (id 9).
  void giveBar() {
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1, "Open");
    HMENU system = CreatePopupMenu();
    AppendMenuA(system, MF_STRING, 2, "Quit");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(system), "System");
    AppendMenuA(bar, MF_STRING, 9, "Help");
    SetMenu(top, bar);
  }
  void closePullDown() {
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
  std::vector<LPARAM> keyMenuAsks() {
    std::vector<LPARAM> out;
    for (const Seen& s : messagesOf(top, WM_SYSCOMMAND))
      if ((s.wParam & 0xFFF0) == SC_KEYMENU) out.push_back(s.lParam);
    return out;
  }
  void key(QEvent::Type type, Qt::Key qtKey, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(type, qtKey, modifiers);
    QApplication::sendEvent(vornplatform::clientWidgetOf(child), &event);
  }
  HWND top = nullptr;
  HWND child = nullptr;
};

TEST_F(KeyboardMenu, AltWithALetterOnAChildOpensThePullDownItNames) {
  giveBar();
  seen().clear();
  EXPECT_EQ(DefWindowProcA(child, WM_SYSCHAR, 's', kAltHeld), 0);
  EXPECT_EQ(keyMenuAsks(), std::vector<LPARAM>{'s'});
  EXPECT_EQ(vorntest::shownMenuBarPullDown(top), 1);  // no mnemonic: the first letter
  closePullDown();
  EXPECT_EQ(vorntest::shownMenuBarPullDown(top), -1);

  DefWindowProcA(child, WM_SYSCHAR, 'F', kAltHeld);  // the mnemonic, case ignored
  EXPECT_EQ(vorntest::shownMenuBarPullDown(top), 0);
  closePullDown();

  DefWindowProcA(child, WM_SYSCHAR, 'h', kAltHeld);  // a command item runs its command
  EXPECT_EQ(vorntest::shownMenuBarPullDown(top), -1);
  vorntest::pumpUntil([&] { return !messagesOf(top, WM_COMMAND).empty(); }, 1000);
  EXPECT_EQ(wParamsOf(top, WM_COMMAND), std::vector<WPARAM>{MAKEWPARAM(9, 0)});
  EXPECT_TRUE(vorntest::recordedBeeps().empty());

  DefWindowProcA(child, WM_SYSCHAR, 'q', kAltHeld);  // nothing starts with it
  EXPECT_EQ(vorntest::shownMenuBarPullDown(top), -1);
  EXPECT_EQ(vorntest::recordedBeeps(), std::vector<UINT>{0});

  seen().clear();
  DefWindowProcA(child, WM_SYSCHAR, ' ', kAltHeld);  // Alt+Space is not the bar's
  EXPECT_TRUE(keyMenuAsks().empty());
}

TEST_F(KeyboardMenu, AltAloneAndF10OpenTheFirstPullDownAfterTheFocusWindowSawTheKey) {
  giveBar();
  seen().clear();
  ASSERT_TRUE(vorntest::pressKey(child, VK_MENU));
  EXPECT_EQ(wParamsOf(child, WM_SYSKEYDOWN), std::vector<WPARAM>{VK_MENU});
  EXPECT_EQ(wParamsOf(child, WM_SYSKEYUP), std::vector<WPARAM>{VK_MENU});
  EXPECT_EQ(keyMenuAsks(), std::vector<LPARAM>{0});
  EXPECT_EQ(vorntest::shownMenuBarPullDown(top), 0);
  closePullDown();

  seen().clear();  // another key between Alt's press and release: no menu
  key(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  key(QEvent::KeyPress, Qt::Key_X, Qt::AltModifier);
  key(QEvent::KeyRelease, Qt::Key_X, Qt::AltModifier);
  key(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  EXPECT_EQ(wParamsOf(child, WM_SYSKEYUP), (std::vector<WPARAM>{'X', VK_MENU}));
  EXPECT_TRUE(keyMenuAsks().empty());

  ASSERT_TRUE(vorntest::pressKey(child, VK_F10));
  EXPECT_EQ(wParamsOf(child, WM_SYSKEYDOWN), (std::vector<WPARAM>{VK_MENU, 'X', VK_F10}));
  EXPECT_EQ(vorntest::shownMenuBarPullDown(top), 0);
  closePullDown();

  seen().clear();  // Shift+F10 asks for the context menu instead
  ASSERT_TRUE(vorntest::pressKey(child, VK_F10, vorntest::ShiftKey));
  EXPECT_TRUE(keyMenuAsks().empty());
  EXPECT_EQ(messagesOf(top, WM_CONTEXTMENU).size(), 1u);
}

TEST_F(KeyboardMenu, AKeyAWindowHandlesItselfOrAWindowWithoutABarOpensNothing) {
  answer() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT* result) {
    *result = 0;
    return hwnd == child && msg == WM_SYSCHAR;
  };
  SendMessageA(child, WM_SYSCHAR, 's', kAltHeld);
  EXPECT_TRUE(keyMenuAsks().empty());
  answer() = nullptr;
  ASSERT_TRUE(vorntest::pressKey(child, VK_MENU));  // no bar: Alt alone is quiet
  DefWindowProcA(child, WM_SYSCHAR, 's', kAltHeld);
  EXPECT_EQ(keyMenuAsks(), (std::vector<LPARAM>{0, 's'}));
  EXPECT_EQ(vorntest::recordedBeeps(), std::vector<UINT>{0});
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

  giveBar();  // the edit classes pass what they leave on to the default processing
  for (const char* cls : {"RichEdit20A", "EDIT"}) {
    HWND edit = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE, 0, 60, 200, 40, top, nullptr,
                                nullptr, nullptr);
    SendMessageA(edit, WM_SYSCHAR, 'S', kAltHeld);
    EXPECT_EQ(vorntest::shownMenuBarPullDown(top), 1) << cls;
    closePullDown();
    EXPECT_EQ(GetWindowTextLengthA(edit), 0) << cls;
  }
}

TEST_F(KeyboardMenu, APaintedBarOpensItsPullDownThroughItsOwnTracking) {
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 7, "Seven");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_OWNERDRAW | MF_GRAYED, 1, reinterpret_cast<LPCSTR>(uintptr_t{0x1111}));
  AppendMenuA(bar, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
              reinterpret_cast<LPCSTR>(uintptr_t{0x2222}));
  SetMenu(top, bar);
  std::vector<HMENU> tracked;
  vornplatform::setPopupChooser([&](HMENU menu, int, int) {
    tracked.push_back(menu);
    EXPECT_EQ(vorntest::shownMenuBarPullDown(top), 1);
    return 7u;
  });
  ASSERT_TRUE(vorntest::pressKey(child, VK_F10));  // the first usable item
  EXPECT_EQ(tracked, std::vector<HMENU>{sub});
  EXPECT_EQ(vorntest::shownMenuBarPullDown(top), -1);
  vorntest::pumpUntil([&] { return !messagesOf(top, WM_COMMAND).empty(); }, 1000);
  EXPECT_EQ(wParamsOf(top, WM_COMMAND), std::vector<WPARAM>{MAKEWPARAM(7, 0)});
}

}  // namespace
