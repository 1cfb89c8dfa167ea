// The files are keyed by native path under one lock. A file is read again whenever its stamp
// on disk changed (another program wrote it), and the edits not yet written are replayed on
// top of what it now holds.
#include "platform/ProfileCache.h"

#include <sys/stat.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/ProfileStore.h"

namespace vornplatform {

namespace {

struct Entry {
  std::unique_ptr<ProfileFile> file;
  FileStamp stamp;  // of the disk version the file was built from or last written as
  bool unreadable = false;
  std::vector<ProfileEdit> pending;  // applied in memory, not yet on disk
};

// Never destroyed: threads and the flush at the process's end may still use them.
std::mutex& cacheLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

std::atomic<bool> cacheUsed{false};

std::map<std::string, Entry>& entries() {
  static auto* instance = new std::map<std::string, Entry>;
  cacheUsed = true;
  return *instance;
}

std::atomic<bool> anyPending{false};
std::atomic<bool> loopRunning{false};
std::thread::id loopThread;

bool deferHere() { return loopRunning.load() && std::this_thread::get_id() == loopThread; }

// now is the file's stamp as just taken.
void refresh(Entry& entry, const std::string& path, const FileStamp& now) {
  if (entry.file && now == entry.stamp) return;
  std::string content;
  entry.unreadable = readWholeFile(path, content) == ReadResult::Failed;
  if (entry.unreadable) content.clear();
  entry.stamp = now;
  entry.file = std::make_unique<ProfileFile>(content);
  for (ProfileEdit& edit : entry.pending) edit(*entry.file);
}

bool folderExists(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + (slash == 0));
  struct stat st;
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Never over a file that exists but could not be read: its settings would be lost.
bool writeOut(Entry& entry, const std::string& path) {
  if (entry.pending.empty()) return true;
  refresh(entry, path, stampOf(path));
  if (entry.unreadable || !replaceWholeFile(path, entry.file->text())) return false;
  entry.pending.clear();
  entry.stamp = stampOf(path);
  return true;
}

// Writes files when the process ends normally, also for programs that never run a loop.
// A module that never used the cache (a copy of this library loaded and freed again) makes
// nothing at its end.
struct FlushAtExit {
  ~FlushAtExit() {
    if (cacheUsed) flushProfileFiles();
  }
} flushAtExit;

}  // namespace

void readProfileFile(const char* fileName,
                     const std::function<void(const ProfileFile&)>& use) {
  std::lock_guard<std::mutex> guard(cacheLock());
  ProfileLocation where = locateProfile(fileName);
  Entry& entry = entries()[where.path];
  refresh(entry, where.path, where.stamp);
  use(*entry.file);
}

EditResult editProfileFile(const char* fileName, ProfileEdit edit) {
  std::lock_guard<std::mutex> guard(cacheLock());
  ProfileLocation where = locateProfile(fileName);
  const std::string& path = where.path;
  Entry& entry = entries()[path];
  refresh(entry, path, where.stamp);
  if (entry.unreadable) return EditResult::Unreadable;
  if (!edit(*entry.file)) return EditResult::Done;
  entry.pending.push_back(std::move(edit));
  // A write that can never land is refused now, not reported done and lost at the flush.
  if (deferHere() && !where.stamp.exists && !folderExists(path)) {
    entry.pending.pop_back();
    entry.file.reset();
    return EditResult::WriteFailed;
  }
  if (deferHere()) {
    anyPending = true;
    return EditResult::Done;
  }
  if (writeOut(entry, path)) return EditResult::Done;
  // The disk keeps what it had, and so does what this process reads.
  entry.pending.pop_back();
  entry.file.reset();
  return EditResult::WriteFailed;
}

bool flushProfileFile(const std::string& path) {
  std::lock_guard<std::mutex> guard(cacheLock());
  auto found = entries().find(path);
  return found == entries().end() || writeOut(found->second, path);
}

void flushProfileFiles() {
  anyPending = false;
  std::lock_guard<std::mutex> guard(cacheLock());
  for (auto& [path, entry] : entries()) writeOut(entry, path);
}

// A file that could not be written (a full disk) stays waiting, tried again after the next
// write rather than at every wait of the loop.
void flushRecentProfileWrites() {
  if (anyPending.exchange(false)) flushProfileFiles();
}

void noteMessageLoopRunning() {
  if (loopRunning.load()) return;
  loopThread = std::this_thread::get_id();
  loopRunning = true;
}

}  // namespace vornplatform
