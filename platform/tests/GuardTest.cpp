// The guard for plug-in calls: normal returns, exceptions and faults become failed calls, and
// nested guards recover to the innermost one.
#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>
#include <thread>

#include "platform/win32_guard.h"

namespace {

int* volatile nowhere = nullptr;
volatile int zero = 0;

volatile int sink = 0;

// Kept from the undefined-behaviour checker so the fault itself happens.
__attribute__((no_sanitize("undefined"))) void readNull() { sink = *nowhere; }
__attribute__((no_sanitize("undefined"))) void divideByZero() { sink = 7 / zero; }
volatile bool deeper = true;
// Fills the stack until it overflows; the handler then needs a stack of its own.
__attribute__((noinline)) void recurse(int depth) {
  volatile char frame[4096];
  frame[0] = static_cast<char>(depth);
  if (deeper) recurse(depth + 1);
  sink = frame[0];
}
void throwInt() { throw 42; }

TEST(GuardTest, NormalReturnsAndExceptionsOfAnyType) {
  int calls = 0;
  EXPECT_TRUE(guardedCall([&] { ++calls; }));
  EXPECT_FALSE(guardedCall([&] {
    ++calls;
    throw std::runtime_error("plug-in failure");
  }));
  EXPECT_FALSE(guardedCall([] { throwInt(); }));
  EXPECT_FALSE(guardedCall(nullptr, nullptr));
  EXPECT_EQ(calls, 2);
  // The plain-function form hands the context through.
  EXPECT_TRUE(guardedCall([](void* context) { *static_cast<int*>(context) = 9; }, &calls));
  EXPECT_EQ(calls, 9);
}

TEST(GuardTest, NestedGuardsRecoverToTheInnermost) {
  bool innerResult = true;
  bool afterInner = false;
  EXPECT_TRUE(guardedCall([&] {
    innerResult = guardedCall([] { throwInt(); });
    afterInner = true;
  }));
  EXPECT_FALSE(innerResult);
  EXPECT_TRUE(afterInner);
}

TEST(GuardTest, FaultsBecomeFailedCallsAndNest) {
  EXPECT_FALSE(guardedCall([] { readNull(); }));
  EXPECT_FALSE(guardedCall([] { divideByZero(); }));
  EXPECT_FALSE(guardedCall([] { std::raise(SIGILL); }));
  EXPECT_FALSE(guardedCall([] { std::raise(SIGBUS); }));
  EXPECT_FALSE(guardedCall([] { recurse(0); }));

  int depthReached = 0;
  bool innerResult = true;
  EXPECT_TRUE(guardedCall([&] {
    depthReached = 1;
    innerResult = guardedCall([&] {
      depthReached = 2;
      EXPECT_FALSE(guardedCall([] { readNull(); }));  // a third level, recovered on its own
      readNull();
    });
  }));
  EXPECT_EQ(depthReached, 2);
  EXPECT_FALSE(innerResult);
  // The guard still works after all that, and the thread is no longer guarded afterwards.
  EXPECT_TRUE(guardedCall([] {}));
  EXPECT_DEATH(readNull(), "");
}

TEST(GuardTest, EachThreadRecoversOnItsOwn) {
  bool results[2] = {true, true};
  std::thread first([&] { results[0] = guardedCall([] { readNull(); }); });
  std::thread second([&] { results[1] = guardedCall([] { divideByZero(); }); });
  first.join();
  second.join();
  EXPECT_FALSE(results[0]);
  EXPECT_FALSE(results[1]);
}

}  // namespace
