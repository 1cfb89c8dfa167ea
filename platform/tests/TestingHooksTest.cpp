// The test hooks act like a person: clicks, drags and keys arrive at window procedures as the
// Win32 messages real input makes; faked work area and key states; pumping with deadlines.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

struct Received {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Received> received;

bool isInput(UINT msg) {
  return (msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK) || msg == WM_KEYDOWN || msg == WM_KEYUP ||
         msg == WM_CHAR || msg == WM_COMMAND || msg >= WM_USER;
}

LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (isInput(msg)) received.push_back({hwnd, msg, wParam, lParam});
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class TestingHooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      WNDCLASSEXA wc{};
      wc.cbSize = sizeof(wc);
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = recordingProc;
      wc.lpszClassName = "TestingHooksTest";
      ASSERT_NE(RegisterClassExA(&wc), 0);
      registered = true;
    }
    top = CreateWindowExA(0, "TestingHooksTest", "hooks", WS_OVERLAPPEDWINDOW, 0, 0, 240, 160,
                          nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(top, nullptr);
    child = CreateWindowExA(0, "TestingHooksTest", "child", WS_CHILD | WS_VISIBLE, 100, 50, 60, 40,
                            top, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    ShowWindow(top, SW_SHOW);
    vorntest::pumpFor(10);
    received.clear();
  }
  void TearDown() override {
    if (IsWindow(top)) DestroyWindow(top);
    vorntest::clearKeyStates();
    vorntest::clearWorkArea();
  }
  std::vector<Received> inputOf(HWND hwnd, UINT from, UINT to) {
    std::vector<Received> out;
    for (const Received& r : received)
      if (r.hwnd == hwnd && r.msg >= from && r.msg <= to) out.push_back(r);
    return out;
  }
  std::vector<UINT> buttonMessagesOf(HWND hwnd) {
    std::vector<UINT> out;
    for (const Received& r : inputOf(hwnd, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK)) out.push_back(r.msg);
    return out;
  }
  HWND top = nullptr;
  HWND child = nullptr;
};

TEST_F(TestingHooksTest, ClicksReachTheWindowUnderThePointInItsCoordinates) {
  ASSERT_TRUE(vorntest::clickAt(top, 20, 30));
  std::vector<Received> clicks = inputOf(top, WM_LBUTTONDOWN, WM_LBUTTONUP);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].msg, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(clicks[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(clicks[0].lParam, MAKELPARAM(20, 30));
  EXPECT_EQ(clicks[1].msg, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(clicks[1].wParam, 0u);

  // A point inside the child goes to the child, in the child's client coordinates.
  received.clear();
  ASSERT_TRUE(vorntest::clickAt(top, 110, 55, vorntest::RightButton, vorntest::ControlKey));
  EXPECT_TRUE(buttonMessagesOf(top).empty());
  std::vector<Received> right = inputOf(child, WM_RBUTTONDOWN, WM_RBUTTONUP);
  ASSERT_EQ(right.size(), 2u);
  EXPECT_EQ(right[0].msg, static_cast<UINT>(WM_RBUTTONDOWN));
  EXPECT_EQ(right[0].lParam, MAKELPARAM(10, 5));
  EXPECT_EQ(right[0].wParam, static_cast<WPARAM>(MK_RBUTTON | MK_CONTROL));

  received.clear();
  ASSERT_TRUE(vorntest::doubleClickAt(child, 3, 4));
  EXPECT_EQ(buttonMessagesOf(child),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));

  DestroyWindow(top);
  EXPECT_FALSE(vorntest::clickAt(top, 1, 1));
  EXPECT_FALSE(vorntest::typeText(top, "x"));
}

TEST_F(TestingHooksTest, DragsHoldTheButtonAndEndWhereTheyAimed) {
  ASSERT_TRUE(vorntest::dragFrom(top, 10, 10, 50, 30));
  std::vector<Received> all = inputOf(top, WM_MOUSEMOVE, WM_MBUTTONDBLCLK);
  ASSERT_GE(all.size(), 3u);
  EXPECT_EQ(all.front().msg, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(all.front().lParam, MAKELPARAM(10, 10));
  EXPECT_EQ(all.back().msg, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(all.back().lParam, MAKELPARAM(50, 30));
  int moves = 0;
  for (const Received& r : all) {
    if (r.msg != WM_MOUSEMOVE) continue;
    ++moves;
    EXPECT_EQ(r.wParam, static_cast<WPARAM>(MK_LBUTTON));
  }
  EXPECT_GE(moves, 2);
  // Moves over the child during the drag stay with the window that got the press.
  received.clear();
  ASSERT_TRUE(vorntest::dragFrom(top, 10, 10, 120, 60));
  EXPECT_TRUE(inputOf(child, WM_MOUSEMOVE, WM_MBUTTONDBLCLK).empty());
  EXPECT_EQ(inputOf(top, WM_LBUTTONUP, WM_LBUTTONUP).back().lParam, MAKELPARAM(120, 60));

  received.clear();
  ASSERT_TRUE(vorntest::moveMouseTo(top, 7, 8));
  std::vector<Received> hover = inputOf(top, WM_MOUSEMOVE, WM_MOUSEMOVE);
  ASSERT_EQ(hover.size(), 1u);
  EXPECT_EQ(hover[0].wParam, 0u);
  EXPECT_EQ(hover[0].lParam, MAKELPARAM(7, 8));
}

TEST_F(TestingHooksTest, TypedTextAndKeysArriveAsKeyDownAndChar) {
  ASSERT_TRUE(vorntest::typeText(child, "aB1\n"));
  vorntest::pumpFor(5);
  std::vector<WPARAM> chars;
  for (const Received& r : inputOf(child, WM_CHAR, WM_CHAR)) chars.push_back(r.wParam);
  EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 'B', '1', 13}));
  std::vector<Received> downs = inputOf(child, WM_KEYDOWN, WM_KEYDOWN);
  ASSERT_GE(downs.size(), 4u);
  EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>('A'));
  EXPECT_EQ(downs.back().wParam, static_cast<WPARAM>(VK_RETURN));

  received.clear();
  ASSERT_TRUE(vorntest::pressKey(child, VK_DOWN, vorntest::NoModifier, true));
  ASSERT_TRUE(vorntest::pressKey(child, 'A', vorntest::ControlKey));
  vorntest::pumpFor(5);
  std::vector<Received> keys = inputOf(child, WM_KEYDOWN, WM_KEYDOWN);
  ASSERT_GE(keys.size(), 2u);
  EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_DOWN));
  EXPECT_NE(keys[0].lParam & (1L << 30), 0);  // a repeat of a key held down
  std::vector<Received> control = inputOf(child, WM_CHAR, WM_CHAR);
  ASSERT_EQ(control.size(), 1u);
  EXPECT_EQ(control[0].wParam, 1u);
}

TEST_F(TestingHooksTest, MenuPicksArriveAsCommands) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 101, "&Open");
  AppendMenuA(file, MF_STRING | MF_GRAYED, 102, "&Close");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  ASSERT_TRUE(SetMenu(top, bar));
  received.clear();
  auto commands = [&]() {
    std::vector<WPARAM> ids;
    for (const Received& r : inputOf(top, WM_COMMAND, WM_COMMAND)) ids.push_back(r.wParam);
    return ids;
  };
  EXPECT_TRUE(vorntest::pickMenuItem(top, 101));
  EXPECT_FALSE(vorntest::pickMenuItem(top, 102));  // greyed
  EXPECT_FALSE(vorntest::pickMenuItem(top, 999));
  EXPECT_FALSE(vorntest::pickMenuItem(child, 101));  // no menu bar
  EXPECT_TRUE(vorntest::pumpUntil([&]() { return !commands().empty(); }, 2000));
  EXPECT_EQ(commands(), (std::vector<WPARAM>{101}));

  // Prepared pop-up answers are used in order; then pop-ups are dismissed.
  received.clear();
  vorntest::answerNextPopupMenu(101);
  vorntest::answerNextPopupMenu(101);
  EXPECT_TRUE(TrackPopupMenu(file, TPM_RIGHTBUTTON, 10, 10, 0, top, nullptr));
  EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD, 10, 10, 0, top, nullptr), 101);
  EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD, 10, 10, 0, top, nullptr), 0);
  vorntest::pumpFor(20);
  EXPECT_EQ(commands(), (std::vector<WPARAM>{101}));
  vorntest::clearPopupMenuAnswers();
}

TEST_F(TestingHooksTest, WorkAreaAndKeyStatesCanBeFaked) {
  RECT area{10, 20, 1010, 700};
  vorntest::setWorkArea(area);
  RECT read{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &read, 0));
  EXPECT_EQ(read.left, 10);
  EXPECT_EQ(read.top, 20);
  EXPECT_EQ(read.right, 1010);
  EXPECT_EQ(read.bottom, 700);
  vorntest::clearWorkArea();
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &read, 0);
  EXPECT_NE(read.right, 1010);

  vorntest::setKeyState(VK_SHIFT, true);
  EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
  vorntest::clickAt(top, 5, 5);  // input without Shift does not undo the fake
  EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
  vorntest::setKeyState(VK_SHIFT, false);
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
}

TEST_F(TestingHooksTest, PumpingDispatchesPostedMessagesAndKeepsTheQuit) {
  PostMessageA(top, WM_USER + 5, 42, 0);
  bool arrived = vorntest::pumpUntil([&]() { return !inputOf(top, WM_USER + 5, WM_USER + 5).empty(); }, 2000);
  ASSERT_TRUE(arrived);
  EXPECT_EQ(inputOf(top, WM_USER + 5, WM_USER + 5)[0].wParam, 42u);

  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(vorntest::pumpUntil([]() { return false; }, 50));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));

  // A quit met while pumping is left for the real loop, with its exit code.
  PostQuitMessage(3);
  PostMessageA(top, WM_USER + 6, 0, 0);
  vorntest::pumpFor(20);
  MSG msg{};
  bool quit = false;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      EXPECT_EQ(msg.wParam, 3u);
      break;
    }
    DispatchMessageA(&msg);
  }
  EXPECT_TRUE(quit);
}

}  // namespace
