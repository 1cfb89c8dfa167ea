// The test hooks act like a person: clicks, drags and keys arrive at window procedures as the
// Win32 messages real input makes; faked work area and key states; pumping with deadlines.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

struct Want {
  UINT msg;
  WPARAM keys;
  LPARAM at;
};

// The button messages of one window against what was wanted, in order.
void expectButtons(HWND hwnd, const std::vector<Want>& want) {
  std::vector<Seen> got = messagesIn(hwnd, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK);
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(got[i].msg, want[i].msg);
    EXPECT_EQ(got[i].wParam, want[i].keys);
    EXPECT_EQ(got[i].lParam, want[i].at);
  }
}

class TestingHooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    top = makeTop(0, 0, 240, 160);
    child = makeChild(top, 7, 100, 50, 60, 40);
    ASSERT_TRUE(top && child);
    ShowWindow(top, SW_SHOW);
    vorntest::pumpFor(10);
    seen().clear();
  }
  void TearDown() override {
    if (IsWindow(top)) DestroyWindow(top);
    vorntest::clearKeyStates();
    vorntest::clearWorkArea();
    reset();
  }
  HWND top = nullptr;
  HWND child = nullptr;
};

TEST_F(TestingHooksTest, ClicksReachTheWindowUnderThePointInItsCoordinates) {
  ASSERT_TRUE(vorntest::clickAt(top, 20, 30));
  expectButtons(top, {{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30)},
                      {WM_LBUTTONUP, 0, MAKELPARAM(20, 30)}});
  // A point inside the child goes to the child, in the child's client coordinates.
  seen().clear();
  ASSERT_TRUE(vorntest::clickAt(top, 110, 55, vorntest::RightButton, vorntest::ControlKey));
  expectButtons(top, {});
  expectButtons(child, {{WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, MAKELPARAM(10, 5)},
                        {WM_RBUTTONUP, MK_CONTROL, MAKELPARAM(10, 5)}});
  seen().clear();
  ASSERT_TRUE(vorntest::doubleClickAt(child, 3, 4));
  const LPARAM at = MAKELPARAM(3, 4);
  expectButtons(child, {{WM_LBUTTONDOWN, MK_LBUTTON, at},
                        {WM_LBUTTONUP, 0, at},
                        {WM_LBUTTONDBLCLK, MK_LBUTTON, at},
                        {WM_LBUTTONUP, 0, at}});
  DestroyWindow(top);
  EXPECT_FALSE(vorntest::clickAt(top, 1, 1));
  EXPECT_FALSE(vorntest::typeText(top, "x"));
}

TEST_F(TestingHooksTest, DragsHoldTheButtonAndEndWhereTheyAimed) {
  ASSERT_TRUE(vorntest::dragFrom(top, 10, 10, 120, 60));
  std::vector<Seen> all = messagesIn(top, WM_MOUSEMOVE, WM_MBUTTONDBLCLK);
  ASSERT_GE(all.size(), 4u);
  EXPECT_EQ(all.front().msg, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(all.front().lParam, MAKELPARAM(10, 10));
  EXPECT_EQ(all.back().msg, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(all.back().lParam, MAKELPARAM(120, 60));
  for (size_t i = 1; i + 1 < all.size(); ++i) {
    EXPECT_EQ(all[i].msg, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(all[i].wParam, static_cast<WPARAM>(MK_LBUTTON));
  }
  // Moves over the child during the drag stay with the window that got the press.
  EXPECT_TRUE(messagesIn(child, WM_MOUSEMOVE, WM_MBUTTONDBLCLK).empty());
  seen().clear();
  ASSERT_TRUE(vorntest::moveMouseTo(top, 7, 8));
  std::vector<Seen> hover = messagesOf(top, WM_MOUSEMOVE);
  ASSERT_EQ(hover.size(), 1u);
  EXPECT_EQ(hover[0].wParam, 0u);
  EXPECT_EQ(hover[0].lParam, MAKELPARAM(7, 8));
}

TEST_F(TestingHooksTest, TypedTextAndKeysArriveAsKeyDownAndChar) {
  ASSERT_TRUE(vorntest::typeText(child, "aB1\n"));
  vorntest::pumpFor(5);
  EXPECT_EQ(wParamsOf(child, WM_CHAR), (std::vector<WPARAM>{'a', 'B', '1', 13}));
  std::vector<WPARAM> downs = wParamsOf(child, WM_KEYDOWN);
  ASSERT_GE(downs.size(), 4u);
  EXPECT_EQ(downs[0], static_cast<WPARAM>('A'));
  EXPECT_EQ(downs.back(), static_cast<WPARAM>(VK_RETURN));
  seen().clear();
  ASSERT_TRUE(vorntest::pressKey(child, VK_DOWN, vorntest::NoModifier, true));
  ASSERT_TRUE(vorntest::pressKey(child, 'A', vorntest::ControlKey));
  vorntest::pumpFor(5);
  std::vector<Seen> keys = messagesOf(child, WM_KEYDOWN);
  ASSERT_GE(keys.size(), 2u);
  EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_DOWN));
  EXPECT_NE(keys[0].lParam & (1L << 30), 0);  // a repeat of a key held down
  EXPECT_EQ(wParamsOf(child, WM_CHAR), std::vector<WPARAM>{1});
}

TEST_F(TestingHooksTest, MenuPicksAndPopupAnswersArriveAsCommands) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 101, "&Open");
  AppendMenuA(file, MF_STRING | MF_GRAYED, 102, "&Close");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  ASSERT_TRUE(SetMenu(top, bar));
  seen().clear();
  EXPECT_TRUE(vorntest::pickMenuItem(top, 101));
  EXPECT_FALSE(vorntest::pickMenuItem(top, 102));  // greyed
  EXPECT_FALSE(vorntest::pickMenuItem(top, 999));
  EXPECT_FALSE(vorntest::pickMenuItem(child, 101));  // no menu bar
  EXPECT_TRUE(vorntest::pumpUntil([&]() { return !messagesOf(top, WM_COMMAND).empty(); }, 2000));
  EXPECT_EQ(wParamsOf(top, WM_COMMAND), std::vector<WPARAM>{101});
  // Prepared pop-up answers are used in order; then pop-ups are dismissed.
  seen().clear();
  vorntest::answerNextPopupMenu(101);
  vorntest::answerNextPopupMenu(101);
  EXPECT_TRUE(TrackPopupMenu(file, TPM_RIGHTBUTTON, 10, 10, 0, top, nullptr));
  EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD, 10, 10, 0, top, nullptr), 101);
  EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD, 10, 10, 0, top, nullptr), 0);
  vorntest::pumpFor(20);
  EXPECT_EQ(wParamsOf(top, WM_COMMAND), std::vector<WPARAM>{101});
  vorntest::clearPopupMenuAnswers();
}

TEST_F(TestingHooksTest, WorkAreaAndKeyStatesCanBeFaked) {
  vorntest::setWorkArea(RECT{10, 20, 1010, 700});
  RECT read{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &read, 0));
  EXPECT_EQ(std::vector<LONG>({read.left, read.top, read.right, read.bottom}),
            std::vector<LONG>({10, 20, 1010, 700}));
  vorntest::clearWorkArea();
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &read, 0);
  EXPECT_NE(read.right, 1010);
  vorntest::setKeyState(VK_SHIFT, true);
  vorntest::clickAt(top, 5, 5);  // input without Shift does not undo the fake
  EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
  vorntest::setKeyState(VK_SHIFT, false);
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
}

TEST_F(TestingHooksTest, PumpingDispatchesPostedMessagesAndKeepsTheQuit) {
  PostMessageA(top, WM_USER + 5, 42, 0);
  ASSERT_TRUE(vorntest::pumpUntil([&]() { return !messagesOf(top, WM_USER + 5).empty(); }, 2000));
  EXPECT_EQ(wParamsOf(top, WM_USER + 5), std::vector<WPARAM>{42});
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(vorntest::pumpUntil([]() { return false; }, 50));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
  // A quit met while pumping is left for the real loop, with its exit code.
  PostQuitMessage(3);
  PostMessageA(top, WM_USER + 6, 0, 0);
  vorntest::pumpFor(20);
  MSG msg{};
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
    DispatchMessageA(&msg);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
