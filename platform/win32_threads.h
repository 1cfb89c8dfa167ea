// Threads, critical sections, waits and time of the layer, with Win32's names and numbers.
// Critical sections are recursive; a thread started suspended waits until ResumeThread.
#pragma once

#include <cstdint>

#include "platform/win32_base.h"

// Opaque to callers: the layer keeps a recursive mutex inside (same size as Win32's record).
struct CRITICAL_SECTION {
  alignas(8) unsigned char opaque[40];
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;

#define CREATE_SUSPENDED 0x00000004u
#define STILL_ACTIVE 259u
#define WAIT_OBJECT_0 0u
#define WAIT_TIMEOUT 258u
#define WAIT_FAILED ((DWORD)0xFFFFFFFFu)

VORNAPI void InitializeCriticalSection(LPCRITICAL_SECTION section);
VORNAPI void EnterCriticalSection(LPCRITICAL_SECTION section);
VORNAPI BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
VORNAPI void LeaveCriticalSection(LPCRITICAL_SECTION section);
VORNAPI void DeleteCriticalSection(LPCRITICAL_SECTION section);

// Returns a thread handle, or 0 (errno set) when no thread could be made. A stack size below
// the platform's default gets the default stack, as a Win32 thread always reserves at least
// its image's default. With CREATE_SUSPENDED the entry runs only after ResumeThread.
VORNAPI uintptr_t _beginthreadex(void* security, unsigned stackSize, unsigned (*entry)(void*),
                                 void* arg, unsigned initFlags, unsigned* threadId);
// Records the exit code of the calling thread; the entry is expected to return right after.
VORNAPI void _endthreadex(unsigned code);
// Previous suspend count, or (DWORD)-1 for a bad handle.
VORNAPI DWORD ResumeThread(HANDLE thread);
VORNAPI DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
VORNAPI BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
// Releases the handle; a running thread goes on. A thread still suspended when its last
// handle closes can never be resumed, so it ends without running its entry.
VORNAPI BOOL CloseHandle(HANDLE object);
VORNAPI DWORD GetCurrentThreadId();
// Sleep(0) only yields the processor.
VORNAPI void Sleep(DWORD milliseconds);
// Milliseconds of a monotonic clock; wraps around after 2^32.
VORNAPI DWORD GetTickCount();

// A calendar time as Win32 records it: every field a 16-bit word, months and days from 1,
// days of the week from 0 (Sunday).
struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
typedef SYSTEMTIME* LPSYSTEMTIME;
static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME keeps its Win32 size");

// The wall-clock time in the local time zone; a null record is ignored.
VORNAPI void GetLocalTime(LPSYSTEMTIME time);
