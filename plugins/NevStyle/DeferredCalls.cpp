#include "plugins/NevStyle/DeferredCalls.h"

#include <map>
#include <utility>

namespace {

// Which object each running thread timer belongs to.
std::map<UINT_PTR, DeferredCalls*>& owners() {
  static std::map<UINT_PTR, DeferredCalls*> all;
  return all;
}

}  // namespace

DeferredCalls::~DeferredCalls() {
  runPending();
  stopTimer();
}

void DeferredCalls::post(std::function<void()> call) {
  calls.push_back(std::move(call));
  if (timer != 0) return;
  // A thread timer fires from the message loop, never inside the handler that posts.
  timer = SetTimer(nullptr, 0, 0, &DeferredCalls::fire);
  if (timer != 0) owners()[timer] = this;
}

void DeferredCalls::runPending() {
  stopTimer();
  while (!calls.empty()) {
    std::vector<std::function<void()>> now;
    now.swap(calls);
    for (std::function<void()>& call : now) call();
    // What these calls posted again waits for the next round of the loop.
    if (timer != 0) return;
  }
}

void DeferredCalls::stopTimer() {
  if (timer == 0) return;
  KillTimer(nullptr, timer);
  owners().erase(timer);
  timer = 0;
}

void CALLBACK DeferredCalls::fire(HWND, UINT, UINT_PTR id, DWORD) {
  auto found = owners().find(id);
  if (found == owners().end()) {
    KillTimer(nullptr, id);
    return;
  }
  found->second->runPending();
}
