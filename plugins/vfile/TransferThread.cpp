#include "plugins/vfile/TransferThread.h"

#include "platform/win32.h"

TransferThread::~TransferThread() { join(); }

bool TransferThread::start() {
  if (handle != 0) return false;
  unsigned id = 0;
  handle = _beginthreadex(nullptr, 0, &TransferThread::entry, this, CREATE_SUSPENDED, &id);
  return handle != 0;
}

void TransferThread::resume() {
  if (handle == 0 || resumed) return;
  resumed = true;
  ResumeThread(reinterpret_cast<HANDLE>(handle));
}

void TransferThread::join() {
  if (handle == 0) return;
  HANDLE thread = reinterpret_cast<HANDLE>(handle);
  if (!resumed) {
    skip = true;
    resumed = true;
    ResumeThread(thread);
  }
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  handle = 0;
}

unsigned TransferThread::entry(void* self) {
  TransferThread* thread = static_cast<TransferThread*>(self);
  if (!thread->skip) {
    thread->run();
    thread->onEnd();
  }
  thread->finished = true;
  return 0;
}
