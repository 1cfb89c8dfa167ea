// Message queues and the loop: posting, filtering, quitting, sends from other threads that must
// wake a waiting loop, completions, key translation and timers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

class MessageLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    hwnd = makeTop();
    seen().clear();
  }
  void TearDown() override {
    DestroyWindow(hwnd);
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) {
    }
    reset();
  }
  HWND hwnd = nullptr;
};

// Dispatches messages until one of the wanted kind arrives (not dispatched) or time runs out.
bool getWithin(MSG* m, UINT wanted, int milliseconds = 2000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (!PeekMessageA(m, nullptr, 0, 0, PM_REMOVE))
      vornplatform::processEventsFor(5);
    else if (m->message == wanted)
      return true;
    else
      DispatchMessageA(m);
  }
  return false;
}

TEST_F(MessageLoop, PostsComeBackInOrderThroughTheFilters) {
  MSG stale;  // what earlier cases in this process left posted
  while (PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE)) {}
  PostMessageA(hwnd, WM_USER + 1, 1, 0);
  PostMessageA(nullptr, WM_USER + 2, 2, 0);
  PostMessageA(hwnd, WM_APP, 3, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
  EXPECT_EQ(m.wParam, 3u);
  ASSERT_TRUE(PeekMessageA(&m, hwnd, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.hwnd, nullptr);  // a thread message
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 2));
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_APP));
  DispatchMessageA(&m);
  ASSERT_EQ(messagesOf(hwnd, WM_APP).size(), 1u);
  PostMessageA(nullptr, WM_QUIT, 5, 0);
  EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, 5u);
  PostQuitMessage(7);
  PostMessageA(hwnd, WM_USER, 0, 0);
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));  // quit waits until the queue is empty
  EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, 7u);
}

TEST_F(MessageLoop, SendFromAnotherThreadRunsOnTheGuiThreadAndWakesTheLoop) {
  std::thread::id guiThread = std::this_thread::get_id(), ranOn;
  answer() = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    if (msg != WM_USER + 9) return false;
    ranOn = std::this_thread::get_id();
    *result = static_cast<LRESULT>(wParam * 2);
    return true;
  };
  std::atomic<LRESULT> sent{0};
  std::thread worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    sent = SendMessageA(hwnd, WM_USER + 9, 21, 0);
    PostMessageA(hwnd, WM_USER + 10, 0, 0);
  });
  MSG m;
  // GetMessageA waits inside Qt; the post must wake it.
  ASSERT_TRUE(GetMessageA(&m, nullptr, WM_USER + 10, WM_USER + 10));
  worker.join();
  EXPECT_EQ(sent.load(), 42);
  EXPECT_EQ(ranOn, guiThread);
}

void CALLBACK completion(HWND, UINT, ULONG_PTR data, LRESULT result) {
  *reinterpret_cast<LRESULT*>(data) = result;
}

TEST_F(MessageLoop, SendCallbackRunsAtOnceOnTheOwnerAndInOrderFromThreads) {
  answer() = [](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    *result = static_cast<LRESULT>(wParam);
    return msg == 5123;
  };
  LRESULT got = 0;
  EXPECT_TRUE(
      SendMessageCallbackA(hwnd, 5123, 11, 0, completion, reinterpret_cast<ULONG_PTR>(&got)));
  EXPECT_EQ(got, 11);  // same thread: handled before the call returns
  EXPECT_FALSE(SendMessageCallbackA(reinterpret_cast<HWND>(0x7ffffff0), 5123, 1, 0, completion, 0));
  std::thread worker([&] {
    for (WPARAM i = 1; i <= 5; ++i) SendMessageCallbackA(hwnd, 5123, i, 0, nullptr, 0);
  });
  worker.join();
  seen().clear();
  MSG m;
  getWithin(&m, WM_NULL, 200);
  EXPECT_EQ(wParamsOf(hwnd, 5123), (std::vector<WPARAM>{1, 2, 3, 4, 5}));
}

// A burst of sends from a receive thread must not keep the GUI thread away from its loop:
// each pass of the loop takes one, in order, callback and waiting sends alike.
TEST_F(MessageLoop, SendsFromAThreadRunOnePerLoopPassInOrder) {
  answer() = [](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    *result = static_cast<LRESULT>(wParam * 10);
    return msg == 5123;
  };
  std::atomic<bool> queued{false};
  std::atomic<LRESULT> waited{0};
  LRESULT results[4] = {0, 0, 0, 0};
  std::thread worker([&] {
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);  // a pumping thread gets its completions
    for (WPARAM i = 1; i <= 3; ++i)
      SendMessageCallbackA(hwnd, 5123, i, 0, completion, reinterpret_cast<ULONG_PTR>(&results[i]));
    queued = true;
    waited = SendMessageA(hwnd, 5123, 4, 0);
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
  });
  while (!queued) std::this_thread::yield();
  MSG m;
  for (size_t pass = 1; pass <= 3; ++pass) {
    PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
    std::vector<WPARAM> expected;
    for (WPARAM i = 1; i <= pass; ++i) expected.push_back(i);
    EXPECT_EQ(wParamsOf(hwnd, 5123), expected) << "pass " << pass;
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (waited == 0 && std::chrono::steady_clock::now() < deadline)
    PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
  worker.join();
  EXPECT_EQ(wParamsOf(hwnd, 5123), (std::vector<WPARAM>{1, 2, 3, 4}));
  EXPECT_EQ(waited.load(), 40);
  EXPECT_EQ(results[1], 10);
  EXPECT_EQ(results[3], 30);
}

TEST_F(MessageLoop, TranslateMessageMakesWin32Characters) {
  struct Case {
    int vk;
    bool ctrl, shift;
    int expected;  // -1: no character
  } cases[] = {{VK_RETURN, false, false, 13}, {VK_RETURN, true, false, 10},
               {VK_TAB, false, false, 9},     {VK_BACK, false, false, 8},
               {'C', true, false, 3},         {'Z', true, true, 26},
               {'A', false, false, 'a'},      {'A', false, true, 'A'},
               {'7', false, false, '7'},      {VK_LEFT, false, false, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vk);
    vornplatform::setKeyStateOverride(VK_CONTROL, c.ctrl ? 0x8000 : 0);
    vornplatform::setKeyStateOverride(VK_SHIFT, c.shift ? 0x8000 : 0);
    MSG key{hwnd, WM_KEYDOWN, static_cast<WPARAM>(c.vk), 1, 0, {0, 0}}, m{};
    EXPECT_TRUE(TranslateMessage(&key));
    int got =
        PeekMessageA(&m, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE) ? static_cast<int>(m.wParam) : -1;
    EXPECT_EQ(got, c.expected);
  }
  vornplatform::clearKeyStateOverrides();
  EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);
}

void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD) {
  seen().push_back({nullptr, WM_TIMER, id, 0});
}

TEST_F(MessageLoop, TimersPostWmTimerOrCallTheirProcedureUntilKilledOrDestroyed) {
  HWND other = makeTop();
  SetTimer(other, 1, 10, nullptr);
  DestroyWindow(other);
  EXPECT_EQ(SetTimer(hwnd, 3, 10, nullptr), 3u);
  MSG m;
  ASSERT_TRUE(getWithin(&m, WM_TIMER));
  EXPECT_EQ(m.hwnd, hwnd);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_TRUE(KillTimer(hwnd, 3));
  EXPECT_FALSE(KillTimer(hwnd, 3));
  vornplatform::processEventsFor(40);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));

  UINT_PTR id = SetTimer(nullptr, 0, 10, timerProc);
  ASSERT_TRUE(getWithin(&m, WM_TIMER));
  DispatchMessageA(&m);
  KillTimer(nullptr, id);
  EXPECT_EQ(wParamsOf(nullptr, WM_TIMER), std::vector<WPARAM>{id});
  EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(0x7ffffff0), 1, 10, nullptr), 0u);
}

}  // namespace
