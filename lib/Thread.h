// Base class of the worker threads: created suspended, resumed, asked to stop through a flag
// that the derived run() polls, and joined once run() has returned.
#pragma once

#include <atomic>

#include "lib/CriticalSection.h"
#include "platform/win32.h"

// A derived class whose run() uses its own members must call requestStop() and join() in its
// own destructor: by the time ~Thread runs, the derived part is already gone. ~Thread stops
// and joins a thread that is still running only so that the base outlives the thread's entry.
class Thread {
 public:
  Thread();
  virtual ~Thread();

  // Starts a suspended thread; false when one exists already or none could be made.
  bool create(unsigned stackSize);
  // Lets a created thread run; nothing when there is none or it runs already.
  void resume();
  void requestStop();
  // Returns once the thread is idle again: run() has returned, or was never resumed.
  void join();

 protected:
  virtual void run() = 0;

 private:
  static unsigned entry(void* object);
  void finishRun();
  bool onOwnThread();

  HANDLE handle;
  DWORD id;

 protected:
  CriticalSection stateLock;  // guards the handle, the id and changes of the flags
  CriticalSection runLock;    // held by the thread while run() executes
  // Atomic because run() and join() read them without a lock.
  std::atomic<bool> running;  // for the derived class's use; cleared on resume and at the end
  std::atomic<bool> stopRequested;
  std::atomic<bool> idle;  // true while no resumed thread is on its way through run()
};
