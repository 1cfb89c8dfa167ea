#include "host/HostPlatformCalls.h"

#include <cstring>

#include "platform/win32.h"

namespace {

const char* const consoleFontFile = "VT100.fon";

}  // namespace

bool queryOsVersion(bool extended, OsVersionRecord* record) {
  OSVERSIONINFOEXA info = {};
  info.dwOSVersionInfoSize = extended ? sizeof(OSVERSIONINFOEXA) : sizeof(OSVERSIONINFOA);
  if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
  record->major = info.dwMajorVersion;
  record->minor = info.dwMinorVersion;
  record->build = info.dwBuildNumber;
  record->platform = info.dwPlatformId;
  std::strncpy(record->servicePack, info.szCSDVersion, sizeof record->servicePack - 1);
  record->servicePack[sizeof record->servicePack - 1] = 0;
  return true;
}

char* programPath() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return nullptr;
  char* path = nullptr;
  int size = count > 0
                 ? WideCharToMultiByte(CP_ACP, 0, arguments[0], -1, nullptr, 0, nullptr, nullptr)
                 : 0;
  if (size > 0) {
    path = new char[size + 2];
    if (WideCharToMultiByte(CP_ACP, 0, arguments[0], -1, path, size + 2, nullptr, nullptr) <= 0)
      path[0] = 0;
  }
  LocalFree(arguments);
  return path;
}

void addConsoleFont() {
  AddFontResourceA(consoleFontFile);
  SendMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}

void removeConsoleFont() {
  RemoveFontResourceA(consoleFontFile);
  SendMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}
