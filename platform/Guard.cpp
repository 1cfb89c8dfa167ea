// The guard for calls into plug-ins. Exceptions are caught; faults jump back to the innermost
// guard of the thread through a signal handler that runs on an alternate stack (a stack
// overflow leaves no room on the faulting one). The handlers are installed while any thread is
// inside a guard and hand faults of unguarded threads to whatever was installed before.
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
thread_local char* ownStack = nullptr;  // our alternate stack while this thread is guarded

struct HandlerState {
  std::mutex lock;
  int users = 0;  // threads inside a guard
  struct sigaction previous[guardedSignalCount];
};

HandlerState& handlers() {
  static HandlerState* instance = new HandlerState;  // used until the very end of the process
  return *instance;
}

int indexOf(int signal) {
  for (int i = 0; i < guardedSignalCount; ++i)
    if (guardedSignals[i] == signal) return i;
  return -1;
}

// A fault outside any guard of this thread goes to the handler that was there before us; with
// none, the default action is restored and the faulting instruction runs again to end the
// program as it would have without us.
void forward(int signal, siginfo_t* info, void* ucontext) {
  int index = indexOf(signal);
  struct sigaction before = handlers().previous[index];
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
  HandlerState& state = handlers();
  std::lock_guard<std::mutex> guard(state.lock);
  if (state.users++ > 0) return;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_sigaction = onFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < guardedSignalCount; ++i)
    sigaction(guardedSignals[i], &action, &state.previous[i]);
}

void restoreHandlers() {
  HandlerState& state = handlers();
  std::lock_guard<std::mutex> guard(state.lock);
  if (--state.users > 0) return;
  for (int i = 0; i < guardedSignalCount; ++i)
    sigaction(guardedSignals[i], &state.previous[i], nullptr);
}

// Gives the thread an alternate signal stack unless it already has one (a sanitizer's, say).
void enterAlternateStack() {
  stack_t current;
  if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE)) return;
  char* memory = static_cast<char*>(std::malloc(alternateStackSize));
  if (memory == nullptr) return;
  stack_t ours;
  ours.ss_sp = memory;
  ours.ss_size = alternateStackSize;
  ours.ss_flags = 0;
  if (sigaltstack(&ours, nullptr) != 0) {
    std::free(memory);
    return;
  }
  ownStack = memory;
}

void leaveAlternateStack() {
  if (ownStack == nullptr) return;
  stack_t off;
  std::memset(&off, 0, sizeof off);
  off.ss_flags = SS_DISABLE;
  sigaltstack(&off, nullptr);
  std::free(ownStack);
  ownStack = nullptr;
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
  bool outermost = frame.outer == nullptr;
  if (outermost) {
    enterAlternateStack();
    installHandlers();
  }
  volatile bool ok = false;
  if (sigsetjmp(frame.jump, 1) == 0) {
    innermost = &frame;
    ok = callCatching(fn, context);
  }
  innermost = frame.outer;
  if (outermost) {
    restoreHandlers();
    leaveAlternateStack();
  }
  return ok;
}
