// GetLocalTime over the C library's local time, with a test hook that fixes the answer so
// time stamps can be compared exactly.
#include <sys/time.h>
#include <time.h>

#include <mutex>

#include "platform/testing.h"
#include "platform/win32_threads.h"

namespace {

std::mutex hookLock;
bool timeFixed = false;
SYSTEMTIME fixedTime{};

SYSTEMTIME clockTime() {
  timeval now{};
  gettimeofday(&now, nullptr);
  time_t seconds = now.tv_sec;
  tm local{};
  localtime_r(&seconds, &local);
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(local.tm_year + 1900);
  time.wMonth = static_cast<WORD>(local.tm_mon + 1);
  time.wDayOfWeek = static_cast<WORD>(local.tm_wday);
  time.wDay = static_cast<WORD>(local.tm_mday);
  time.wHour = static_cast<WORD>(local.tm_hour);
  time.wMinute = static_cast<WORD>(local.tm_min);
  // A leap second reads as the last ordinary one, as Win32 never reports 60.
  time.wSecond = static_cast<WORD>(local.tm_sec > 59 ? 59 : local.tm_sec);
  time.wMilliseconds = static_cast<WORD>(now.tv_usec / 1000);
  return time;
}

}  // namespace

namespace vorntest {

void setLocalTime(const SYSTEMTIME& time) {
  std::lock_guard<std::mutex> guard(hookLock);
  timeFixed = true;
  fixedTime = time;
}

void clearLocalTime() {
  std::lock_guard<std::mutex> guard(hookLock);
  timeFixed = false;
}

}  // namespace vorntest

void GetLocalTime(LPSYSTEMTIME time) {
  if (time == nullptr) return;
  {
    std::lock_guard<std::mutex> guard(hookLock);
    if (timeFixed) {
      *time = fixedTime;
      return;
    }
  }
  *time = clockTime();
}
