// The guard for plug-in calls: normal returns, exceptions and faults become failed calls, and
// nested guards recover to the innermost one.
#include <gtest/gtest.h>

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <initializer_list>
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

#if defined(__SANITIZE_ADDRESS__)
const bool underAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
const bool underAddressSanitizer = true;
#else
const bool underAddressSanitizer = false;
#endif
#else
const bool underAddressSanitizer = false;
#endif

// Ends the process at once if it makes any of these system calls from now on.
bool forbidSystemCalls(std::initializer_list<long> calls) {
  sock_filter program[16];
  int length = 0;
  program[length++] = BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch));
  program[length++] = BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0);
  program[length++] = BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW);
  program[length++] = BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr));
  for (long call : calls) {
    program[length++] = BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<unsigned>(call), 0, 1);
    program[length++] = BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS);
  }
  program[length++] = BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW);
  sock_fprog filter = {static_cast<unsigned short>(length), program};
  return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

// Runs body in a child process; true when the child ended normally with status 0.
template <typename Body>
bool childSucceeds(Body body) {
  pid_t child = fork();
  if (child == 0) _exit(body() ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The host makes several guarded calls for every received line: once a thread has made its
// first one, a normal return or an exception costs no signal system call, and a fault costs
// nothing but unblocking its signal.
TEST(GuardTest, CallsAfterTheFirstMakeNoSignalSystemCalls) {
  if (underAddressSanitizer)
    GTEST_SKIP() << "the address sanitizer's runtime asks for the signal stack on every throw";
  EXPECT_TRUE(childSucceeds([] {
    if (!guardedCall([] {})) return false;
    if (!forbidSystemCalls({SYS_rt_sigaction, SYS_sigaltstack, SYS_rt_sigprocmask})) return false;
    int returned = 0;
    for (int i = 0; i < 1000; ++i) {
      if (guardedCall([] {})) ++returned;
      if (!guardedCall([] { throwInt(); })) ++returned;
    }
    return returned == 2000;
  }));
  EXPECT_TRUE(childSucceeds([] {
    if (!guardedCall([] {})) return false;
    if (!forbidSystemCalls({SYS_rt_sigaction, SYS_sigaltstack})) return false;
    bool caught = !guardedCall([] { readNull(); }) && !guardedCall([] { readNull(); });
    return caught && guardedCall([] {});
  }));
}

}  // namespace
