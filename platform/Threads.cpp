// Threads over pthreads with a start gate for CREATE_SUSPENDED, recursive critical sections,
// waits on thread handles, Sleep and the tick count.
#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "platform/HandleTable.h"
#include "platform/win32_threads.h"

static_assert(sizeof(pthread_mutex_t) <= sizeof(CRITICAL_SECTION), "critical section too small");
static_assert(alignof(pthread_mutex_t) <= alignof(CRITICAL_SECTION), "critical section misaligned");

namespace {

pthread_mutex_t* mutexOf(LPCRITICAL_SECTION section) {
  return reinterpret_cast<pthread_mutex_t*>(section->opaque);
}

// What a thread handle stands for. Shared by the handle table and the running thread, so
// closing the handle never pulls the record from under the thread or a waiter.
struct ThreadRecord {
  std::mutex lock;
  std::condition_variable changed;
  unsigned (*entry)(void*) = nullptr;
  void* arg = nullptr;
  DWORD id = 0;
  DWORD suspendCount = 0;
  bool abandoned = false;  // closed while suspended: nobody can resume it any more
  bool finished = false;
  bool endCalled = false;
  DWORD endCode = 0;
  DWORD exitCode = 0;
};
using RecordPtr = std::shared_ptr<ThreadRecord>;

// Never destroyed: detached threads may still close their handles while the process exits.
vornplatform::HandleTable<ThreadRecord>& table() {
  static auto* instance = new vornplatform::HandleTable<ThreadRecord>;
  return *instance;
}

RecordPtr findThread(HANDLE handle) { return table().find(handle); }

RecordPtr takeThread(HANDLE handle) { return table().remove(handle); }

DWORD nextThreadId() {
  static std::atomic<DWORD> next{1};
  return next.fetch_add(1);
}

thread_local DWORD currentId = 0;
thread_local ThreadRecord* currentRecord = nullptr;

// Returns true when the entry may run, false when the thread was abandoned while suspended.
bool passStartGate(ThreadRecord& record) {
  std::unique_lock<std::mutex> guard(record.lock);
  record.changed.wait(guard, [&] { return record.suspendCount == 0 || record.abandoned; });
  return record.suspendCount == 0;
}

void* threadMain(void* start) {
  std::unique_ptr<RecordPtr> holder(static_cast<RecordPtr*>(start));
  RecordPtr record = *holder;
  holder.reset();
  currentId = record->id;
  currentRecord = record.get();
  unsigned code = passStartGate(*record) ? record->entry(record->arg) : 0;
  {
    std::lock_guard<std::mutex> guard(record->lock);
    record->exitCode = record->endCalled ? record->endCode : code;
    record->finished = true;
  }
  record->changed.notify_all();
  currentRecord = nullptr;
  return nullptr;
}

// A Win32 thread reserves at least its image's default stack whatever it asks for (the
// callers ask for as little as 1024 bytes), so only a request above the default counts.
bool setStackSize(pthread_attr_t* attr, unsigned stackSize) {
  size_t standard = 0;
  if (pthread_attr_getstacksize(attr, &standard) != 0 || stackSize <= standard) return true;
  const size_t granularity = 64 * 1024;
  size_t rounded = (static_cast<size_t>(stackSize) + granularity - 1) / granularity * granularity;
  return pthread_attr_setstacksize(attr, rounded) == 0;
}

int startThread(RecordPtr record, unsigned stackSize) {
  pthread_attr_t attr;
  if (pthread_attr_init(&attr) != 0) return EAGAIN;
  int error = EINVAL;
  if (pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED) == 0 &&
      setStackSize(&attr, stackSize)) {
    RecordPtr* start = new RecordPtr(std::move(record));
    pthread_t thread;
    error = pthread_create(&thread, &attr, threadMain, start);
    if (error != 0) delete start;
  }
  pthread_attr_destroy(&attr);
  return error;
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  if (!section) return;
  pthread_mutexattr_t attr;
  pthread_mutexattr_init(&attr);
  pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(new (section->opaque) pthread_mutex_t, &attr);
  pthread_mutexattr_destroy(&attr);
}

void EnterCriticalSection(LPCRITICAL_SECTION section) {
  if (section) pthread_mutex_lock(mutexOf(section));
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  return section && pthread_mutex_trylock(mutexOf(section)) == 0 ? TRUE : FALSE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
  if (section) pthread_mutex_unlock(mutexOf(section));
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
  if (section) pthread_mutex_destroy(mutexOf(section));
}

uintptr_t _beginthreadex(void*, unsigned stackSize, unsigned (*entry)(void*), void* arg,
                         unsigned initFlags, unsigned* threadId) {
  if (!entry) {
    errno = EINVAL;
    return 0;
  }
  RecordPtr record = std::make_shared<ThreadRecord>();
  record->entry = entry;
  record->arg = arg;
  record->id = nextThreadId();
  record->suspendCount = (initFlags & CREATE_SUSPENDED) ? 1 : 0;
  uint32_t handle = table().add(record);
  int error = startThread(record, stackSize);
  if (error != 0) {
    takeThread(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle)));
    errno = error;
    return 0;
  }
  if (threadId) *threadId = record->id;
  return handle;
}

void _endthreadex(unsigned code) {
  if (!currentRecord) return;
  std::lock_guard<std::mutex> guard(currentRecord->lock);
  currentRecord->endCalled = true;
  currentRecord->endCode = code;
}

DWORD ResumeThread(HANDLE thread) {
  RecordPtr record = findThread(thread);
  if (!record) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<DWORD>(-1);
  }
  std::lock_guard<std::mutex> guard(record->lock);
  DWORD previous = record->suspendCount;
  if (previous > 0 && --record->suspendCount == 0) record->changed.notify_all();
  return previous;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
  RecordPtr record = findThread(object);
  if (!record) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  std::unique_lock<std::mutex> guard(record->lock);
  auto ended = [&] { return record->finished; };
  if (milliseconds == INFINITE) {
    record->changed.wait(guard, ended);
    return WAIT_OBJECT_0;
  }
  bool done = record->changed.wait_for(guard, std::chrono::milliseconds(milliseconds), ended);
  return done ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
  RecordPtr record = findThread(thread);
  if (!record) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!exitCode) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> guard(record->lock);
  *exitCode = record->finished ? record->exitCode : STILL_ACTIVE;
  return TRUE;
}

BOOL CloseHandle(HANDLE object) {
  RecordPtr record = takeThread(object);
  if (!record) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard<std::mutex> guard(record->lock);
  if (record->suspendCount > 0) {
    record->abandoned = true;
    record->changed.notify_all();
  }
  return TRUE;
}

DWORD GetCurrentThreadId() {
  if (currentId == 0) currentId = nextThreadId();
  return currentId;
}

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

DWORD GetTickCount() {
  auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<DWORD>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}
