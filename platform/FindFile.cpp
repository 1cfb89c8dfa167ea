// File search of the layer: a pattern's folder is read once, its matching names kept in order
// and handed out one by one through a search handle (Win32 and C runtime flavours).
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/FileErrors.h"
#include "platform/Handles.h"
#include "platform/win32_files.h"
#include "platform/win32_findfile.h"

namespace {

struct Search {
  std::string folder;  // native, ends with '/' or is empty for the current folder
  std::vector<std::string> names;
  size_t next = 0;
};

struct SearchTable {
  std::mutex lock;
  std::map<uint32_t, Search> searches;
};

SearchTable& table() {
  static SearchTable* instance = new SearchTable;
  return *instance;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// '*' takes any run of characters, '?' exactly one; everything else compares ignoring case.
bool matchWildcard(const char* pattern, const char* name) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || (*pattern && lower(*pattern) == lower(*name))) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

// Windows lets a final ".*" match a name without any dot ("*.*" lists everything).
bool matchName(const std::string& pattern, const char* name) {
  if (matchWildcard(pattern.c_str(), name)) return true;
  size_t n = pattern.size();
  if (n >= 2 && pattern.compare(n - 2, 2, ".*") == 0 && std::strchr(name, '.') == nullptr)
    return matchWildcard(pattern.substr(0, n - 2).c_str(), name);
  return false;
}

// "." and ".." first, as Windows lists them, then the rest alphabetically, case ignored.
bool listedBefore(const std::string& a, const std::string& b) {
  bool aDots = a == "." || a == "..";
  bool bDots = b == "." || b == "..";
  if (aDots != bDots) return aDots;
  int order = ::strcasecmp(a.c_str(), b.c_str());
  return order != 0 ? order < 0 : a < b;
}

// Splits a Win32 pattern into its native folder (resolved) and its last component.
void splitPattern(const char* pattern, std::string& folder, std::string& last) {
  std::string p(pattern);
  for (char& c : p)
    if (c == '\\') c = '/';
  size_t slash = p.find_last_of('/');
  if (slash == std::string::npos) {
    folder.clear();
    last = p;
    return;
  }
  last = p.substr(slash + 1);
  folder = slash == 0 ? "/" : resolvePath(p.substr(0, slash).c_str()) + "/";
}

bool isFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.empty() ? "." : path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Opens a search; 0 with the last error set when nothing matches.
uint32_t openSearch(const char* pattern) {
  if (pattern == nullptr || pattern[0] == '\0') {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  Search search;
  std::string last;
  splitPattern(pattern, search.folder, last);
  DIR* dir = isFolder(search.folder)
                 ? ::opendir(search.folder.empty() ? "." : search.folder.c_str())
                 : nullptr;
  if (dir == nullptr) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  while (struct dirent* entry = ::readdir(dir))
    if (!last.empty() && matchName(last, entry->d_name)) search.names.push_back(entry->d_name);
  ::closedir(dir);
  if (search.names.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  std::sort(search.names.begin(), search.names.end(), listedBefore);
  uint32_t value = vornplatform::nextHandleValue();
  SearchTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  t.searches[value] = std::move(search);
  return value;
}

// The next name of a search with its file's details; false at the end or for a dead handle.
bool nextEntry(uint32_t value, std::string& name, struct stat& st) {
  std::string path;
  {
    SearchTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto found = t.searches.find(value);
    if (found == t.searches.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return false;
    }
    Search& search = found->second;
    if (search.next >= search.names.size()) {
      SetLastError(ERROR_NO_MORE_FILES);
      return false;
    }
    name = search.names[search.next++];
    path = search.folder + name;
  }
  // A file removed since the search opened is still listed, as an empty one.
  if (::stat(path.c_str(), &st) != 0) std::memset(&st, 0, sizeof st);
  return true;
}

bool closeSearch(uint32_t value) {
  SearchTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  if (t.searches.erase(value) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return true;
}

FILETIME fileTimeOf(time_t seconds) {
  // Seconds between 1601-01-01 and 1970-01-01, in 100 ns units.
  const uint64_t unixEpoch = 116444736000000000ull;
  uint64_t ticks = unixEpoch + static_cast<uint64_t>(seconds) * 10000000ull;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

void fillFindData(const std::string& name, const struct stat& st, WIN32_FIND_DATAA* found) {
  std::memset(found, 0, sizeof *found);
  found->dwFileAttributes = vornplatform::attributesOf(st);
  found->ftCreationTime = fileTimeOf(st.st_ctime);
  found->ftLastAccessTime = fileTimeOf(st.st_atime);
  found->ftLastWriteTime = fileTimeOf(st.st_mtime);
  uint64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
  found->nFileSizeHigh = static_cast<DWORD>(size >> 32);
  found->nFileSizeLow = static_cast<DWORD>(size);
  std::strncpy(found->cFileName, name.c_str(), sizeof found->cFileName - 1);
}

void fillFindData(const std::string& name, const struct stat& st, _finddata_t* found) {
  std::memset(found, 0, sizeof *found);
  DWORD attributes = vornplatform::attributesOf(st);
  found->attrib = attributes == FILE_ATTRIBUTE_NORMAL ? _A_NORMAL : attributes;
  found->time_create = st.st_ctime;
  found->time_access = st.st_atime;
  found->time_write = st.st_mtime;
  found->size = S_ISDIR(st.st_mode) ? 0 : static_cast<_fsize_t>(st.st_size);
  std::strncpy(found->name, name.c_str(), sizeof found->name - 1);
}

uint32_t valueOf(HANDLE handle) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
  if (found == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  uint32_t value = openSearch(pattern);
  if (value == 0) return INVALID_HANDLE_VALUE;
  HANDLE handle = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
  FindNextFileA(handle, found);
  return handle;
}

BOOL FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA found) {
  std::string name;
  struct stat st;
  if (found == nullptr || search == INVALID_HANDLE_VALUE || !nextEntry(valueOf(search), name, st))
    return FALSE;
  fillFindData(name, st, found);
  return TRUE;
}

BOOL FindClose(HANDLE search) {
  return search != INVALID_HANDLE_VALUE && closeSearch(valueOf(search)) ? TRUE : FALSE;
}

intptr_t _findfirst(const char* pattern, _finddata_t* found) {
  if (found == nullptr) {
    errno = EINVAL;
    return -1;
  }
  uint32_t value = openSearch(pattern);
  if (value == 0) {
    errno = ENOENT;
    return -1;
  }
  _findnext(value, found);
  return value;
}

int _findnext(intptr_t search, _finddata_t* found) {
  std::string name;
  struct stat st;
  if (found == nullptr || search <= 0 || search > UINT32_MAX ||
      !nextEntry(static_cast<uint32_t>(search), name, st)) {
    errno = ENOENT;
    return -1;
  }
  fillFindData(name, st, found);
  return 0;
}

int _findclose(intptr_t search) {
  if (search <= 0 || search > UINT32_MAX || !closeSearch(static_cast<uint32_t>(search))) {
    errno = ENOENT;
    return -1;
  }
  return 0;
}
