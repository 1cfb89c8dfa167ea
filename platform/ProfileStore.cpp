// File I/O of the profile functions: plain reads, and writes that replace a file in one step.
#include "platform/ProfileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>

#include "platform/win32_files.h"

namespace vornplatform {

namespace {

std::atomic<unsigned> tempCounter{0};

bool writeAll(int fd, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Replacing a symbolic link's target, not the link itself, keeps a linked settings file shared.
std::string followLink(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string target(real);
  std::free(real);
  return target;
}

// A new file in path's folder with a name no other writer uses; -1 on failure.
int createTemp(const std::string& path, std::string& tempName) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempName = path + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(tempCounter++);
    int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A settings file that does not exist yet (Plugs.ini before the first quit) is asked for by
// every key read or written, and finding it ignoring case reads its whole folder, which may
// hold hundreds of logs. What a missing name resolved to is kept while its folder is unchanged:
// creating, removing or renaming an entry changes the folder's stamp.
struct MissingName {
  std::string resolved;
  FileStamp folder;
};

const size_t missingNamesKept = 256;

std::mutex& missingLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

std::map<std::string, MissingName>& missingNames() {
  static auto* names = new std::map<std::string, MissingName>;
  return *names;
}

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A folder changed in the last moments may change again within the same tick of the file
// system's clock without its stamp moving: only an older stamp vouches for the folder.
bool settledLongEnough(const FileStamp& folder) {
  struct timespec now;
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
  long long age = (now.tv_sec - folder.seconds) * 1000000000LL + (now.tv_nsec - folder.nanoseconds);
  return age > 100 * 1000000LL;
}

std::string resolveMissing(const char* fileName, const std::string& given) {
  std::lock_guard<std::mutex> guard(missingLock());
  auto& names = missingNames();
  auto found = names.find(given);
  if (found != names.end() && found->second.folder.exists &&
      stampOf(folderOf(found->second.resolved)) == found->second.folder)
    return found->second.resolved;
  std::string resolved = resolvePath(fileName);
  FileStamp folder = stampOf(folderOf(resolved));
  if (!folder.exists || !settledLongEnough(folder)) {
    if (found != names.end()) names.erase(found);
    return resolved;
  }
  if (names.size() >= missingNamesKept) names.clear();
  names[given] = MissingName{resolved, folder};
  return resolved;
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const {
  return exists == other.exists && device == other.device && inode == other.inode &&
         size == other.size && seconds == other.seconds && nanoseconds == other.nanoseconds;
}

FileStamp stampOf(const std::string& path) {
  FileStamp stamp;
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return stamp;
  stamp.exists = true;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = static_cast<unsigned long long>(st.st_size);
  stamp.seconds = st.st_mtim.tv_sec;
  stamp.nanoseconds = st.st_mtim.tv_nsec;
  return stamp;
}

ProfileLocation locateProfile(const char* fileName) {
  ProfileLocation where;
  where.path = fileName != nullptr ? fileName : "";
  for (char& c : where.path)
    if (c == '\\') c = '/';
  where.stamp = stampOf(where.path);
  if (where.stamp.exists || where.path.empty()) return where;
  where.path = resolveMissing(fileName, where.path);
  where.stamp = stampOf(where.path);
  return where;
}

ReadResult readWholeFile(const std::string& path, std::string& content) {
  content.clear();
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return (errno == ENOENT || errno == ENOTDIR) ? ReadResult::Missing : ReadResult::Failed;
  char chunk[8192];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, in)) > 0) content.append(chunk, n);
  bool failed = std::ferror(in) != 0;
  std::fclose(in);
  return failed ? ReadResult::Failed : ReadResult::Read;
}

bool replaceWholeFile(const std::string& path, const std::string& content) {
  std::string target = followLink(path);
  std::string tempName;
  int fd = createTemp(target, tempName);
  if (fd < 0) return false;
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  bool ok = writeAll(fd, content) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(tempName.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(tempName.c_str());
  return ok;
}

}  // namespace vornplatform
