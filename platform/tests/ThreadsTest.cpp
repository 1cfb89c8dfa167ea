// Threads of the layer: recursive critical sections, the suspended start gate, waits, exit
// codes, handle misuse, stack sizes and the clocks.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <dirent.h>

#include "platform/win32.h"

namespace {

using Clock = std::chrono::steady_clock;

// Threads of this process as the kernel lists them.
int threadCount() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(dir))
      if (entry->d_name[0] != '.') ++count;
    closedir(dir);
  }
  return count;
}

HANDLE asHandle(uintptr_t value) { return reinterpret_cast<HANDLE>(value); }

struct Probe {
  std::atomic<int> calls{0};
  std::atomic<bool> release{false};
  std::atomic<DWORD> seenId{0};
  std::atomic<bool> done{false};  // the thread's last touch of the probe
};

unsigned countAndWait(void* arg) {
  Probe* probe = static_cast<Probe*>(arg);
  probe->seenId = GetCurrentThreadId();
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

unsigned tryEnter(void* arg) {
  LPCRITICAL_SECTION section = static_cast<LPCRITICAL_SECTION>(arg);
  if (!TryEnterCriticalSection(section)) return 0;
  LeaveCriticalSection(section);
  return 1;
}

unsigned tryEnterOnOtherThread(LPCRITICAL_SECTION section) {
  HANDLE thread = asHandle(_beginthreadex(NULL, 0, tryEnter, section, 0, NULL));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, INFINITE));
  DWORD code = 99;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  CloseHandle(thread);
  return code;
}

TEST(CriticalSectionTest, IsRecursiveAndExcludesOtherThreads) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EXPECT_TRUE(TryEnterCriticalSection(&section));  // same thread: recursion
  LeaveCriticalSection(&section);
  EXPECT_EQ(0u, tryEnterOnOtherThread(&section));  // still held once
  LeaveCriticalSection(&section);
  EXPECT_EQ(1u, tryEnterOnOtherThread(&section));
  DeleteCriticalSection(&section);
}

TEST(ThreadsTest, SuspendedThreadRunsOnlyAfterResume) {
  Probe probe;
  unsigned id = 0;
  HANDLE thread = asHandle(_beginthreadex(NULL, 1024, countAndWait, &probe, CREATE_SUSPENDED, &id));
  ASSERT_NE(nullptr, thread);
  EXPECT_NE(0u, id);
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread, 30));
  EXPECT_EQ(0, probe.calls);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(STILL_ACTIVE, code);

  EXPECT_EQ(1u, ResumeThread(thread));
  EXPECT_EQ(0u, ResumeThread(thread));
  while (probe.calls == 0) Sleep(0);
  EXPECT_EQ(id, probe.seenId.load());
  EXPECT_NE(GetCurrentThreadId(), probe.seenId.load());
  probe.release = true;
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, INFINITE));
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(7u, code);
  EXPECT_EQ(1, probe.calls);
  EXPECT_TRUE(CloseHandle(thread));
}

TEST(ThreadsTest, WaitTimesOutThenCompletes) {
  Probe probe;
  HANDLE thread = asHandle(_beginthreadex(NULL, 0, countAndWait, &probe, 0, NULL));
  Clock::time_point start = Clock::now();
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread, 50));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(50));
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread, 0));
  probe.release = true;
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 0));  // an ended thread stays signalled
  CloseHandle(thread);
}

TEST(ThreadsTest, EndThreadCodeBecomesTheExitCode) {
  HANDLE thread = asHandle(_beginthreadex(NULL, 0, endWithCode, NULL, 0, NULL));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, INFINITE));
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(42u, code);
  CloseHandle(thread);
}

TEST(ThreadsTest, BadHandlesFailHarmlessly) {
  HANDLE closed = asHandle(_beginthreadex(NULL, 0, endWithCode, NULL, 0, NULL));
  WaitForSingleObject(closed, INFINITE);
  EXPECT_TRUE(CloseHandle(closed));
  const HANDLE bad[] = {NULL, closed, INVALID_HANDLE_VALUE, asHandle(0x7ffffff0)};
  for (HANDLE handle : bad) {
    DWORD code = 5;
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(handle));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(WAIT_FAILED, WaitForSingleObject(handle, 0));
    EXPECT_EQ(static_cast<DWORD>(-1), ResumeThread(handle));
    EXPECT_FALSE(GetExitCodeThread(handle, &code));
    EXPECT_EQ(5u, code);
  }
}

TEST(ThreadsTest, ClosingHandleLeavesRunningThreadAlone) {
  Probe probe;
  HANDLE thread = asHandle(_beginthreadex(NULL, 0, countAndWait, &probe, 0, NULL));
  while (probe.calls == 0) Sleep(0);
  EXPECT_TRUE(CloseHandle(thread));
  probe.release = true;  // the thread still sees this and ends normally
  while (!probe.done) Sleep(1);
  EXPECT_EQ(1, probe.calls);
}

TEST(ThreadsTest, ClosingSuspendedThreadEndsItWithoutRunning) {
  Probe probe;
  int before = threadCount();
  HANDLE thread = asHandle(_beginthreadex(NULL, 0, countAndWait, &probe, CREATE_SUSPENDED, NULL));
  EXPECT_TRUE(CloseHandle(thread));
  // Nobody can resume it any more, so it must not linger.
  for (int i = 0; i < 2000 && threadCount() > before; ++i) Sleep(1);
  EXPECT_LE(threadCount(), before);
  EXPECT_EQ(0, probe.calls);
}

TEST(ThreadsTest, TinyStackRequestStillGetsAUsableStack) {
  Probe probe;
  HANDLE thread = asHandle(_beginthreadex(NULL, 1024, useLargeStack, &probe, 0, NULL));
  ASSERT_NE(nullptr, thread);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, INFINITE));
  EXPECT_EQ(1, probe.calls);
  CloseHandle(thread);
}

TEST(ThreadsTest, SleepAndTickCountAgree) {
  DWORD before = GetTickCount();
  Clock::time_point start = Clock::now();
  Sleep(25);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(25));
  DWORD elapsed = GetTickCount() - before;
  EXPECT_GE(elapsed, 25u);
  EXPECT_LT(elapsed, 5000u);
}

}  // namespace
