// Files and folders of the layer: search with wildcard patterns, attributes, copy, move, delete
// and the current folder. Every path goes through resolvePath ('\' or '/', any letter case).
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/win32_base.h"

#define ERROR_NOT_SAME_DEVICE 17L
#define ERROR_NO_MORE_FILES 18L
#define ERROR_DISK_FULL 112L
#define ERROR_DIR_NOT_EMPTY 145L

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)

// 100-nanosecond intervals since 1601-01-01 (UTC).
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
typedef FILETIME* LPFILETIME;

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
};
typedef WIN32_FIND_DATAA* LPWIN32_FIND_DATAA;

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

// Search: '*' and '?' in the last component, matched ignoring case; "." and ".." are listed as
// on Windows, and names come back in alphabetical order (case ignored).
VORNAPI HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found);
VORNAPI BOOL FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA found);
VORNAPI BOOL FindClose(HANDLE search);

VORNAPI DWORD GetFileAttributesA(LPCSTR path);
VORNAPI BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security);
VORNAPI BOOL DeleteFileA(LPCSTR path);
// Fails when newPath exists; across file systems a file is copied, then deleted.
VORNAPI BOOL MoveFileA(LPCSTR existingPath, LPCSTR newPath);
// Refused with ERROR_SHARING_VIOLATION when newPath is a library loaded through LoadLibraryA.
// The copy is written beside newPath and renamed over it, so readers never see half a file.
VORNAPI BOOL CopyFileA(LPCSTR existingPath, LPCSTR newPath, BOOL failIfExists);

// Returns the length written (without NUL), or the size needed (with NUL) when too small.
VORNAPI DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
VORNAPI BOOL SetCurrentDirectoryA(LPCSTR path);

// The C runtime's search over the same machinery: -1 and errno ENOENT when nothing matches.
#define _A_NORMAL 0x00
#define _A_RDONLY 0x01
#define _A_HIDDEN 0x02
#define _A_SUBDIR 0x10
#define _A_ARCH 0x20

typedef unsigned long _fsize_t;
struct _finddata_t {
  unsigned attrib;
  time_t time_create;
  time_t time_access;
  time_t time_write;
  _fsize_t size;
  char name[MAX_PATH];
};

VORNAPI intptr_t _findfirst(const char* pattern, _finddata_t* found);
VORNAPI int _findnext(intptr_t search, _finddata_t* found);
VORNAPI int _findclose(intptr_t search);
