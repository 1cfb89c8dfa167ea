// GetVersionExA over uname(2), with test hooks that fix the answer or refuse the calls so the
// callers' fallbacks can be seen.
#include "platform/win32_system.h"

#include <sys/utsname.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/testing.h"

namespace {

std::mutex hookLock;
bool answerFixed = false;
OSVERSIONINFOEXA fixedAnswer{};
vorntest::VersionFailure failure = vorntest::NoVersionFailure;

// Reads the number at text and steps behind it and one following '.'; 0 when none is there.
DWORD takeNumber(const char*& text) {
  DWORD value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) value = value * 10 + static_cast<DWORD>(*text - '0');
  if (*text == '.') ++text;
  return value;
}

OSVERSIONINFOEXA kernelVersion() {
  OSVERSIONINFOEXA info{};
  info.dwPlatformId = VER_PLATFORM_WIN32_NT;
  utsname names{};
  if (uname(&names) != 0) return info;
  const char* release = names.release;
  info.dwMajorVersion = takeNumber(release);
  info.dwMinorVersion = takeNumber(release);
  info.dwBuildNumber = takeNumber(release);
  std::string text = std::string(names.sysname) + " " + names.release;
  text.resize(std::min(text.size(), sizeof info.szCSDVersion - 1));
  std::memcpy(info.szCSDVersion, text.c_str(), text.size() + 1);
  return info;
}

}  // namespace

namespace vorntest {

void setVersionAnswer(const OSVERSIONINFOEXA& answer) {
  std::lock_guard<std::mutex> guard(hookLock);
  answerFixed = true;
  fixedAnswer = answer;
}

void setVersionFailure(VersionFailure which) {
  std::lock_guard<std::mutex> guard(hookLock);
  failure = which;
}

void clearVersionHooks() {
  std::lock_guard<std::mutex> guard(hookLock);
  answerFixed = false;
  failure = NoVersionFailure;
}

}  // namespace vorntest

BOOL GetVersionExA(LPOSVERSIONINFOA info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD size = info->dwOSVersionInfoSize;
  bool extended = size == sizeof(OSVERSIONINFOEXA);
  if (!extended && size != sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  OSVERSIONINFOEXA answer;
  {
    std::lock_guard<std::mutex> guard(hookLock);
    bool refused = failure == vorntest::FailEveryVersionCall ||
                   (extended && failure == vorntest::FailExtendedVersionCalls);
    if (refused) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    answer = answerFixed ? fixedAnswer : kernelVersion();
  }
  answer.dwOSVersionInfoSize = size;
  answer.szCSDVersion[sizeof answer.szCSDVersion - 1] = '\0';
  std::memcpy(info, &answer, size);  // a plain record gets only its own 148 bytes
  return TRUE;
}
