// Threads of the layer: recursive critical sections, the suspended start gate, waits, exit
// codes, handle misuse, stack sizes and the clocks.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/win32.h"

namespace {

using Clock = std::chrono::steady_clock;

// Threads of this process as the kernel lists them.
long threadCount() {
  std::filesystem::directory_iterator tasks("/proc/self/task"), end;
  return static_cast<long>(std::distance(tasks, end));
}

HANDLE start(unsigned (*entry)(void*), void* arg, unsigned flags = 0, unsigned stack = 0) {
  return reinterpret_cast<HANDLE>(_beginthreadex(NULL, stack, entry, arg, flags, NULL));
}

struct Probe {
  std::atomic<int> calls{0};
  std::atomic<bool> release{false};
  std::atomic<bool> done{false};  // the thread's last touch of the probe
};

unsigned countAndWait(void* arg) {
  Probe* probe = static_cast<Probe*>(arg);
  probe->calls++;
  while (!probe->release) Sleep(1);
  probe->done = true;
  return 7;
}

unsigned endWithCode(void*) {
  _endthreadex(42);
  return 0;
}

unsigned useLargeStack(void* arg) {
  // Touches every page of 256 KB, far beyond the 1024 bytes the caller asked for.
  volatile char area[256 * 1024];
  for (size_t i = 0; i < sizeof area; i += 1024) area[i] = 1;
  static_cast<Probe*>(arg)->calls = area[sizeof area - 1024];
  return 0;
}

bool enterableFromOtherThread(LPCRITICAL_SECTION section) {
  bool entered = false;
  std::thread([&] {
    if ((entered = TryEnterCriticalSection(section))) LeaveCriticalSection(section);
  }).join();
  return entered;
}

TEST(CriticalSectionTest, IsRecursiveAndExcludesOtherThreads) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EXPECT_TRUE(TryEnterCriticalSection(&section));  // same thread: recursion
  LeaveCriticalSection(&section);
  EXPECT_FALSE(enterableFromOtherThread(&section));  // still held once
  LeaveCriticalSection(&section);
  EXPECT_TRUE(enterableFromOtherThread(&section));
  DeleteCriticalSection(&section);
}

TEST(ThreadsTest, SuspendedThreadRunsOnlyAfterResume) {
  Probe probe;
  HANDLE thread = start(countAndWait, &probe, CREATE_SUSPENDED);
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread, 30));
  EXPECT_EQ(0, probe.calls);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(STILL_ACTIVE, code);
  EXPECT_EQ(1u, ResumeThread(thread));
  EXPECT_EQ(0u, ResumeThread(thread));
  probe.release = true;
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, INFINITE));
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(7u, code);
  EXPECT_EQ(1, probe.calls);
  EXPECT_TRUE(CloseHandle(thread));
}

// Also checks that the clocks agree with the time a wait or a sleep takes.
TEST(ThreadsTest, WaitTimesOutThenCompletes) {
  Probe probe;
  HANDLE thread = start(countAndWait, &probe);
  Clock::time_point begin = Clock::now();
  DWORD ticks = GetTickCount();
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread, 50));
  Sleep(25);
  EXPECT_GE(Clock::now() - begin, std::chrono::milliseconds(75));
  DWORD elapsed = GetTickCount() - ticks;
  EXPECT_TRUE(elapsed >= 75 && elapsed < 5000) << elapsed;
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread, 0));
  probe.release = true;
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 0));  // an ended thread stays signalled
  CloseHandle(thread);
}

TEST(ThreadsTest, EndThreadCodeStaysAndBadHandlesFailHarmlessly) {
  HANDLE closed = start(endWithCode, nullptr);
  DWORD code = 0;
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(closed, INFINITE));
  EXPECT_TRUE(GetExitCodeThread(closed, &code));
  EXPECT_EQ(42u, code);
  EXPECT_TRUE(CloseHandle(closed));
  const HANDLE bad[] = {NULL, closed, INVALID_HANDLE_VALUE, reinterpret_cast<HANDLE>(0x7ffffff0L)};
  for (HANDLE handle : bad) {
    code = 5;
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(handle));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(WAIT_FAILED, WaitForSingleObject(handle, 0));
    EXPECT_EQ(static_cast<DWORD>(-1), ResumeThread(handle));
    EXPECT_FALSE(GetExitCodeThread(handle, &code));
    EXPECT_EQ(5u, code);
  }
}

TEST(ThreadsTest, ClosingAHandleEndsOnlyASuspendedThread) {
  // Nobody can resume a suspended thread once its handle is closed, so it must not linger.
  Probe suspended;
  long before = threadCount();
  EXPECT_TRUE(CloseHandle(start(countAndWait, &suspended, CREATE_SUSPENDED)));
  for (int i = 0; i < 2000 && threadCount() > before; ++i) Sleep(1);
  EXPECT_LE(threadCount(), before);
  EXPECT_EQ(0, suspended.calls);

  Probe running;
  HANDLE thread = start(countAndWait, &running);
  while (running.calls == 0) Sleep(0);
  EXPECT_TRUE(CloseHandle(thread));
  running.release = true;  // the thread still sees this and ends normally
  while (!running.done) Sleep(1);
}

TEST(ThreadsTest, TinyStackRequestStillGetsAUsableStack) {
  Probe probe;
  HANDLE thread = start(useLargeStack, &probe, 0, 1024);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, INFINITE));
  EXPECT_EQ(1, probe.calls);
  CloseHandle(thread);
}

}  // namespace
