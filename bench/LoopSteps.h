// The timing of the GUI thread's trips away from its message loop, shared by the benchmarks
// that drive the loop themselves.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/win32.h"

namespace chatbench {

using Clock = std::chrono::steady_clock;

// One trip away from the message loop: at most one message taken and dispatched.
struct LoopStep {
  bool got = false;   // a message was taken
  bool quit = false;  // it was WM_QUIT (not dispatched)
  UINT message = 0;
  double seconds = 0;      // the whole trip
  double peekSeconds = 0;  // of which in PeekMessageA
};

inline LoopStep runLoopStep() {
  LoopStep step;
  Clock::time_point start = Clock::now();
  MSG msg;
  step.got = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != 0;
  step.peekSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  step.message = step.got ? msg.message : 0;
  step.quit = step.got && msg.message == WM_QUIT;
  if (step.got && !step.quit) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  step.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return step;
}

// How long each trip away from the message loop took: 50 µs buckets up to ten seconds, made
// before the flood so that counting touches no new memory.
class StepTimes {
 public:
  StepTimes() : buckets(kBuckets, 0) {}
  void add(double seconds) {
    ++count;
    maximum = std::max(maximum, seconds);
    long bucket = static_cast<long>(seconds / kWidth);
    ++buckets[static_cast<size_t>(std::min(bucket, kBuckets - 1))];
  }
  // The upper end of the bucket holding the given fraction of all steps.
  double percentile(double fraction) const {
    long wanted = static_cast<long>(fraction * static_cast<double>(count));
    long seen = 0;
    for (long i = 0; i < kBuckets; ++i) {
      seen += buckets[static_cast<size_t>(i)];
      if (seen > wanted) return static_cast<double>(i + 1) * kWidth;
    }
    return maximum;
  }
  double longest() const { return maximum; }
  long steps() const { return count; }

 private:
  static constexpr long kBuckets = 200000;
  static constexpr double kWidth = 50e-6;
  std::vector<long> buckets;
  long count = 0;
  double maximum = 0;
};

inline double since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace chatbench
