// The process and the system as the host sees them: its command line in wide text, conversion
// of wide text back to 8-bit, and the operating system's version.
#pragma once

#include "platform/win32_base.h"

// Wide text is the compiler's own wide character, so L"..." literals and wcslen work with it.
typedef wchar_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef const WCHAR* LPCWCH;
typedef const char* LPCCH;
typedef HANDLE HLOCAL;

// The process's command line: the executable's absolute path (quoted when it holds a blank),
// then the other arguments, each quoted the way CommandLineToArgvW reads them back. 8-bit
// names are read as UTF-8; a byte that is not valid UTF-8 becomes U+DC00 plus the byte, which
// WideCharToMultiByte turns back into that byte, so paths survive the round trip unchanged.
VORNAPI LPWSTR GetCommandLineW();
// Splits a command line into arguments with Windows' quoting rules (the first one ends at a
// blank or at its closing quote). One block to free with LocalFree; null when count is null.
VORNAPI LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count);
// Frees a block the layer handed out; returns null on success.
VORNAPI HLOCAL LocalFree(HLOCAL block);

// Code pages: the 8-bit text of this system is UTF-8 (with the byte escapes above).
#define CP_ACP 0
#define CP_UTF8 65001
// Returns the bytes written (with the NUL when wideLength is -1), the bytes needed when
// bufferSize is 0, or 0 with ERROR_INSUFFICIENT_BUFFER when the buffer is too small.
VORNAPI int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int wideLength,
                                LPSTR buffer, int bufferSize, LPCCH defaultChar,
                                LPBOOL usedDefaultChar);

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
};
typedef OSVERSIONINFOA* LPOSVERSIONINFOA;

struct OSVERSIONINFOEXA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
};
typedef OSVERSIONINFOEXA* LPOSVERSIONINFOEXA;

static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA keeps its Win32 size");
static_assert(sizeof(OSVERSIONINFOEXA) == 156, "OSVERSIONINFOEXA keeps its Win32 size");

// Answered from the running kernel: its release "6.1.0-..." gives major 6, minor 1 and build 0;
// the platform is VER_PLATFORM_WIN32_NT and szCSDVersion holds the system's name and release
// ("Linux 6.1.0-18-amd64"). dwOSVersionInfoSize must be the size of one of the two records
// (else FALSE with ERROR_INVALID_PARAMETER); only that many bytes are written.
VORNAPI BOOL GetVersionExA(LPOSVERSIONINFOA info);

// Not a Win32 call: the session's end on this system. SIGTERM, SIGINT and SIGHUP post msg to
// hwnd on the GUI thread (the host asks for WM_CLOSE to its main window, so a logout ends the
// program as its own close does); a second such signal ends the process at once. A later call
// changes the target; a null hwnd leaves the first signal without effect. GUI thread only.
VORNAPI void postMessageOnTermination(HWND hwnd, UINT msg);
