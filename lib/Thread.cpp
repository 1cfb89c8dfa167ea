// Thread lifecycle: the entry holds runLock around run(), and the object goes idle again
// under stateLock before that lock is released, so join() can tell a finished run from one
// that has been resumed but has not reached its lock yet.
#include "lib/Thread.h"

Thread::Thread() : handle(0), id(0), running(false), stopRequested(false), idle(true) {}

Thread::~Thread() {
  if (!idle) requestStop();
  // Always join: the entry may still hold runLock just after going idle.
  join();
  stateLock.enter();
  if (handle) {
    // Created but never resumed: closing the only handle ends the thread before run().
    CloseHandle(handle);
    handle = 0;
  }
  stateLock.leave();
}

bool Thread::create(unsigned stackSize) {
  stateLock.enter();
  bool created = false;
  if (!handle) {
    unsigned threadId = 0;
    handle = reinterpret_cast<HANDLE>(
        _beginthreadex(NULL, stackSize, entry, this, CREATE_SUSPENDED, &threadId));
    id = threadId;
    created = handle != 0;
  }
  stateLock.leave();
  return created;
}

void Thread::resume() {
  if (!idle) return;
  stateLock.enter();
  if (idle && handle) {
    running = false;
    stopRequested = false;
    idle = false;
    if (ResumeThread(handle) == static_cast<DWORD>(-1)) idle = true;
  }
  stateLock.leave();
}

void Thread::requestStop() {
  if (stopRequested) return;
  stateLock.enter();
  stopRequested = true;
  stateLock.leave();
}

void Thread::join() {
  if (onOwnThread()) return;  // waiting for oneself would never end
  for (;;) {
    runLock.enter();
    bool done = idle;
    runLock.leave();
    if (done) return;
    // Resumed but not yet inside runLock: give the thread the processor and try again.
    Sleep(0);
  }
}

bool Thread::onOwnThread() {
  stateLock.enter();
  bool own = handle && id == GetCurrentThreadId();
  stateLock.leave();
  return own;
}

unsigned Thread::entry(void* object) {
  Thread* self = static_cast<Thread*>(object);
  self->runLock.enter();
  self->run();
  self->finishRun();
  self->runLock.leave();
  _endthreadex(0);
  return 0;
}

void Thread::finishRun() {
  stateLock.enter();
  idle = true;
  running = false;
  stopRequested = false;
  // Nobody else holds this handle, so the record is released with the thread's end.
  if (handle) CloseHandle(handle);
  handle = 0;
  id = 0;
  stateLock.leave();
}
