// A thread that is made suspended and runs its body only once resumed; joining a thread that
// was never resumed ends it without running the body.
#pragma once

#include <atomic>
#include <cstdint>

class TransferThread {
 public:
  TransferThread() = default;
  virtual ~TransferThread();
  TransferThread(const TransferThread&) = delete;
  TransferThread& operator=(const TransferThread&) = delete;

  // Makes the thread, suspended; false when no thread could be made.
  bool start();
  // Lets a started thread run its body (once).
  void resume();
  // Waits for the thread's end; the body of a thread never resumed is skipped.
  void join();

  bool isStarted() const { return handle != 0; }
  bool isResumed() const { return resumed; }
  bool isFinished() const { return finished; }

 protected:
  virtual void run() = 0;
  virtual void onEnd() {}

 private:
  static unsigned entry(void* self);

  uintptr_t handle = 0;
  bool resumed = false;
  std::atomic<bool> skip{false};
  std::atomic<bool> finished{false};
};
