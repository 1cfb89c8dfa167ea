// The guard for calls into plug-ins. Exceptions are caught; faults jump back to the innermost
// guard of the thread through a signal handler that runs on an alternate stack (a stack
// overflow leaves no room on the faulting one). Every line the host handles makes several
// guarded calls, so the normal path makes no system call: the handlers are installed by the
// first guard of the process and stay, each thread gets its alternate stack at its first guard
// and keeps it until it ends, and the signal mask is touched only after a fault. Faults of
// threads outside any guard go to whatever was installed before.
#include <csetjmp>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/win32_guard.h"

namespace {

const int guardedSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
const int guardedSignalCount = sizeof(guardedSignals) / sizeof(guardedSignals[0]);
const size_t alternateStackSize = 64 * 1024;

struct GuardFrame {
  sigjmp_buf jump;
  GuardFrame* outer;
};

thread_local GuardFrame* innermost = nullptr;

struct sigaction previousActions[guardedSignalCount];

int indexOf(int signal) {
  for (int i = 0; i < guardedSignalCount; ++i)
    if (guardedSignals[i] == signal) return i;
  return -1;
}

// A fault outside any guard of this thread goes to the handler that was there before us; with
// none, the default action is restored and the faulting instruction runs again to end the
// program as it would have without us.
void forward(int signal, siginfo_t* info, void* ucontext) {
  struct sigaction before = previousActions[indexOf(signal)];
  if ((before.sa_flags & SA_SIGINFO) && before.sa_sigaction != nullptr) {
    before.sa_sigaction(signal, info, ucontext);
  } else if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN) {
    before.sa_handler(signal);
  } else {
    struct sigaction fallback;
    std::memset(&fallback, 0, sizeof fallback);
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
  }
}

void onFault(int signal, siginfo_t* info, void* ucontext) {
  if (innermost != nullptr) siglongjmp(innermost->jump, signal);
  forward(signal, info, ucontext);
}

void installHandlers() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_sigaction = onFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < guardedSignalCount; ++i)
    sigaction(guardedSignals[i], &action, &previousActions[i]);
}

// The thread's alternate signal stack: ours unless the thread already had one (a
// sanitizer's, say); given back when the thread ends.
struct AlternateStack {
  bool checked = false;
  char* memory = nullptr;

  void ensure() {
    if (checked) return;
    checked = true;
    stack_t current;
    if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE)) return;
    memory = static_cast<char*>(std::malloc(alternateStackSize));
    if (memory == nullptr) return;
    stack_t ours;
    ours.ss_sp = memory;
    ours.ss_size = alternateStackSize;
    ours.ss_flags = 0;
    if (sigaltstack(&ours, nullptr) != 0) {
      std::free(memory);
      memory = nullptr;
    }
  }

  ~AlternateStack() {
    if (memory == nullptr) return;
    stack_t off;
    std::memset(&off, 0, sizeof off);
    off.ss_flags = SS_DISABLE;
    sigaltstack(&off, nullptr);
    std::free(memory);
  }
};

thread_local AlternateStack alternateStack;

void prepareThread() {
  static std::once_flag installed;
  std::call_once(installed, installHandlers);
  alternateStack.ensure();
}

// The handler ran with its signal blocked and jumped out without the mask being restored (that
// would cost a system call on every guarded call): unblock it again.
void unblockAfterFault(int signal) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

// The only place of the system where an exception is caught: a plug-in's, whatever its type
// (types are hidden per module, so no catch by type could see them).
bool callCatching(void (*fn)(void*), void* context) {
  try {
    fn(context);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

bool guardedCall(void (*fn)(void*), void* context) {
  if (fn == nullptr) return false;
  GuardFrame frame;
  frame.outer = innermost;
  if (frame.outer == nullptr) prepareThread();
  volatile bool ok = false;
  int fault = sigsetjmp(frame.jump, 0);
  if (fault == 0) {
    innermost = &frame;
    ok = callCatching(fn, context);
  } else {
    unblockAfterFault(fault);
  }
  innermost = frame.outer;
  return ok;
}
