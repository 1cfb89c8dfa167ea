// vtray's state machine driven through the system window's messages as the layer delivers
// them: minimise into the tray, the icon's clicks, the taskbar coming back, and unloading while
// the window is in the tray.
#include <gtest/gtest.h>

#include <vector>

#include "platform/testing.h"
#include "tests/support/FakeHost.h"
#include "plugins/vtray/VtraySession.h"

namespace {

VtraySession* current = nullptr;

// The host's system window hands every message to the system plug-ins first.
LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (current != nullptr) {
    EXPECT_FALSE(current->onWindowMessage(hwnd, msg, wParam, lParam));
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class VtrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = hostProc;
    wc.lpszClassName = "VtrayTestHost";
    WNDCLASSEXA known{};
    if (!GetClassInfoExA(nullptr, wc.lpszClassName, &known)) RegisterClassExA(&wc);
    window = CreateWindowExA(0, "VtrayTestHost", "host", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300,
                             nullptr, nullptr, nullptr, nullptr);
    input = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, window, nullptr,
                            nullptr, nullptr);
    ShowWindow(window, SW_SHOW);
    SetFocus(input);
    host.table.systemWindow = window;
    vorntest::setTrayAreaAvailable(true);
    vorntest::clearTrayCalls();
    session.init();
    current = &session;
  }
  void TearDown() override {
    current = nullptr;
    session.term();
    vorntest::clearTrayArea();
    DestroyWindow(window);
  }
  std::vector<DWORD> trayMessages() {
    std::vector<DWORD> out;
    for (const vorntest::TrayCall& call : vorntest::recordedTrayCalls()) out.push_back(call.message);
    return out;
  }
  bool shownIcon() { return vorntest::trayIconShown(window, 0); }
  void iconMouse(UINT mouse) { SendMessageA(window, TrayKeeper::kCallbackMessage, 0, mouse); }

  FakeHost host;
  VtraySession session{"System"};
  HWND window = nullptr, input = nullptr;
};

TEST_F(VtrayTest, MinimisingHidesIntoTheTrayAndTheEndOfADoubleClickBringsItBack) {
  ASSERT_TRUE(vorntest::minimizeByWindowManager(window));
  EXPECT_FALSE(IsWindowVisible(window));
  ASSERT_TRUE(shownIcon());
  std::vector<vorntest::TrayCall> calls = vorntest::recordedTrayCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(calls[0].tip, "vornith 2");
  EXPECT_EQ(calls[0].callbackMessage, 0x8000u);
  EXPECT_NE(calls[0].icon, nullptr);

  SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);  // again: nothing changes
  iconMouse(WM_LBUTTONDOWN);
  iconMouse(WM_LBUTTONUP);  // a single click does nothing
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(vorntest::recordedTrayCalls().size(), 1u);

  ASSERT_TRUE(vorntest::clickTrayIcon(window, 0, true));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsIconic(window));
  EXPECT_FALSE(shownIcon());
  EXPECT_EQ(GetFocus(), input);  // back where it was at the minimise command
  EXPECT_EQ(trayMessages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
  iconMouse(WM_LBUTTONUP);  // the double click is spent
  EXPECT_EQ(trayMessages().size(), 2u);
}

TEST_F(VtrayTest, WithoutANotificationAreaTheWindowNeverHidesAndWithoutDoubleClicksOneDoes) {
  vorntest::setTrayAreaAvailable(false);
  ASSERT_TRUE(vorntest::minimizeByWindowManager(window));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(session.tray().inTray());

  ShowWindow(window, SW_RESTORE);
  vorntest::setTrayAreaAvailable(true, false);
  vorntest::minimizeByWindowManager(window);
  ASSERT_FALSE(IsWindowVisible(window));
  ASSERT_TRUE(vorntest::clickTrayIcon(window, 0, false));
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(VtrayTest, TaskbarCreatedAddsTheIconAgainOnlyWhileHidden) {
  UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  SendMessageA(window, taskbarCreated, 0, 0);
  EXPECT_TRUE(trayMessages().empty());
  vorntest::minimizeByWindowManager(window);
  SendMessageA(window, taskbarCreated, 0, 0);
  EXPECT_EQ(trayMessages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE, NIM_ADD}));
  EXPECT_TRUE(shownIcon());
  // The new taskbar has no notification area: the window comes back instead of staying lost.
  vorntest::setTrayAreaAvailable(false);
  SendMessageA(window, taskbarCreated, 0, 0);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(session.tray().inTray());
}

TEST_F(VtrayTest, UnloadingWhileInTheTrayBringsTheWindowBackAndFocusOnlyToALiveChild) {
  vorntest::minimizeByWindowManager(window);
  DestroyWindow(input);  // the saved focus dies while the window is hidden
  input = nullptr;
  current = nullptr;
  session.term();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(shownIcon());
  EXPECT_EQ(session.tray().icon(), nullptr);
  EXPECT_EQ(host.systemSettings["VawarePosition"], "2");  // the carried options, in System
  session.init();  // TearDown terms it again
}

TEST_F(VtrayTest, TheSystemCommandIsMatchedWithoutItsLowBits) {
  SetFocus(input);
  SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE | 2, 0);
  SetFocus(window);
  SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
  ASSERT_TRUE(session.tray().inTray());
  iconMouse(WM_LBUTTONDBLCLK);
  iconMouse(WM_LBUTTONUP);
  EXPECT_EQ(GetFocus(), input);
}

}  // namespace
