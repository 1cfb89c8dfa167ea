// File and folder operations of the layer over POSIX calls: attributes, folders, delete, move,
// copy (never over a loaded library, always through a temp file) and the current folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/FileErrors.h"
#include "platform/LoadedModules.h"
#include "platform/win32_files.h"
#include "platform/win32_findfile.h"

uint32_t vornplatform::fileErrorOf(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
      return ERROR_PATH_NOT_FOUND;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
      return ERROR_DISK_FULL;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case ETXTBSY:
    case EBUSY:
      return ERROR_SHARING_VIOLATION;
    default:
      return ERROR_ACCESS_DENIED;
  }
}

uint32_t vornplatform::attributesOf(const struct stat& st) {
  uint32_t attributes = 0;
  if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if ((st.st_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

namespace {

BOOL fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

BOOL failWithErrno() { return fail(vornplatform::fileErrorOf(errno)); }

bool statOf(const std::string& path, struct stat& st) { return ::stat(path.c_str(), &st) == 0; }

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool copyContent(int in, int out) {
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!writeAll(out, buffer, static_cast<size_t>(got))) return false;
  }
}

std::string folderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string lastComponent(const char* path) {
  const char* last = path;
  for (const char* p = path; *p; ++p)
    if (*p == '/' || *p == '\\') last = p + 1;
  return last;
}

// A rename that fails with EEXIST instead of replacing: a file made at target after the
// caller looked must not be lost. Filesystems without the kernel's no-replace rename get a
// hard link (which fails on an existing name) and an unlink, or for folders a checked rename.
int renameNoReplace(const char* from, const char* to) {
  if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  if (::link(from, to) == 0) return ::unlink(from);
  if (errno != EPERM) return -1;
  struct stat existing;
  if (::lstat(to, &existing) == 0) {
    errno = EEXIST;
    return -1;
  }
  return ::rename(from, to);
}

// Copies source into a fresh temp file beside target, then renames it to target (over it
// only when replace is set). On failure nothing is left behind and errno tells why.
bool copyThroughTemp(const std::string& source, const struct stat& sourceStat,
                     const std::string& target, bool replace) {
  int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  std::string temp = folderOf(target) + ".vorncopyXXXXXX";
  int out = ::mkostemp(&temp[0], O_CLOEXEC);
  if (out < 0) {
    int saved = errno;
    ::close(in);
    errno = saved;
    return false;
  }
  bool ok = copyContent(in, out) && ::fchmod(out, sourceStat.st_mode & 07777) == 0;
  int saved = errno;
  ::close(in);
  if (::close(out) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (ok && (replace ? ::rename(temp.c_str(), target.c_str())
                     : renameNoReplace(temp.c_str(), target.c_str())) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    errno = saved;
  }
  return ok;
}

}  // namespace

DWORD GetFileAttributesA(LPCSTR path) {
  struct stat st;
  if (path == nullptr || !statOf(resolvePath(path), st)) {
    SetLastError(path == nullptr ? ERROR_INVALID_PARAMETER : vornplatform::fileErrorOf(errno));
    return INVALID_FILE_ATTRIBUTES;
  }
  return vornplatform::attributesOf(st);
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
  if (path == nullptr || path[0] == '\0') return fail(ERROR_PATH_NOT_FOUND);
  if (::mkdir(resolvePath(path).c_str(), 0777) != 0)
    return fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : vornplatform::fileErrorOf(errno));
  return TRUE;
}

BOOL DeleteFileA(LPCSTR path) {
  if (path == nullptr) return fail(ERROR_INVALID_PARAMETER);
  std::string native = resolvePath(path);
  struct stat st;
  if (statOf(native, st) && S_ISDIR(st.st_mode)) return fail(ERROR_ACCESS_DENIED);
  return ::unlink(native.c_str()) == 0 ? TRUE : failWithErrno();
}

BOOL MoveFileA(LPCSTR existingPath, LPCSTR newPath) {
  if (existingPath == nullptr || newPath == nullptr) return fail(ERROR_INVALID_PARAMETER);
  std::string source = resolvePath(existingPath);
  std::string target = resolvePath(newPath);
  struct stat sourceStat, targetStat;
  if (!statOf(source, sourceStat)) return failWithErrno();
  if (statOf(target, targetStat)) {
    if (targetStat.st_dev != sourceStat.st_dev || targetStat.st_ino != sourceStat.st_ino)
      return fail(ERROR_ALREADY_EXISTS);
    // The same file under another letter case: a rename to the name as written.
    target = folderOf(target) + lastComponent(newPath);
    if (target == source) return TRUE;
  }
  if (renameNoReplace(source.c_str(), target.c_str()) == 0) return TRUE;
  if (errno == EEXIST) return fail(ERROR_ALREADY_EXISTS);
  if (errno != EXDEV || S_ISDIR(sourceStat.st_mode)) return failWithErrno();
  if (!copyThroughTemp(source, sourceStat, target, false))
    return errno == EEXIST ? fail(ERROR_ALREADY_EXISTS) : failWithErrno();
  if (::unlink(source.c_str()) != 0) {
    int saved = errno;
    ::unlink(target.c_str());
    errno = saved;
    return failWithErrno();
  }
  return TRUE;
}

BOOL CopyFileA(LPCSTR existingPath, LPCSTR newPath, BOOL failIfExists) {
  if (existingPath == nullptr || newPath == nullptr) return fail(ERROR_INVALID_PARAMETER);
  std::string source = resolvePath(existingPath);
  std::string target = resolvePath(newPath);
  struct stat sourceStat, targetStat;
  if (!statOf(source, sourceStat)) return failWithErrno();
  if (S_ISDIR(sourceStat.st_mode)) return fail(ERROR_ACCESS_DENIED);
  if (statOf(target, targetStat)) {
    if (failIfExists) return fail(ERROR_FILE_EXISTS);
    if (S_ISDIR(targetStat.st_mode)) return fail(ERROR_ACCESS_DENIED);
    // Overwriting a mapped library would change its code under the running program.
    if (vornplatform::isLoadedModulePath(target)) return fail(ERROR_SHARING_VIOLATION);
  }
  if (copyThroughTemp(source, sourceStat, target, !failIfExists)) return TRUE;
  return errno == EEXIST ? fail(ERROR_FILE_EXISTS) : failWithErrno();
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  char* current = ::getcwd(nullptr, 0);
  if (current == nullptr) {
    failWithErrno();
    return 0;
  }
  DWORD length = static_cast<DWORD>(std::strlen(current));
  if (buffer == nullptr || size <= length) {
    std::free(current);
    return length + 1;
  }
  std::memcpy(buffer, current, length + 1);
  std::free(current);
  return length;
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
  if (path == nullptr) return fail(ERROR_INVALID_PARAMETER);
  if (::chdir(resolvePath(path).c_str()) != 0)
    return fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : vornplatform::fileErrorOf(errno));
  return TRUE;
}
