// Calls run once the window handler that asked for them has returned: a window whose own
// handler closes it (Escape, a menu's "Close", a typed "/close") is deleted from here.
#pragma once

#include <functional>
#include <vector>

#include "platform/win32.h"

class DeferredCalls {
 public:
  DeferredCalls() = default;
  // Runs what is still waiting: the owner's end is no handler of the windows concerned.
  ~DeferredCalls();
  DeferredCalls(const DeferredCalls&) = delete;
  DeferredCalls& operator=(const DeferredCalls&) = delete;

  // Runs call from the message loop, after the current message is done.
  void post(std::function<void()> call);
  // Runs every waiting call now, in the order posted (also those they post meanwhile).
  void runPending();
  int pending() const { return static_cast<int>(calls.size()); }

 private:
  static void CALLBACK fire(HWND, UINT, UINT_PTR id, DWORD);
  void stopTimer();

  std::vector<std::function<void()>> calls;
  UINT_PTR timer = 0;
};
