// Whole-file reads and atomic whole-file replacement for the profile functions.
// Internal to platform/; paths are native ones (already through resolvePath).
#pragma once

#include <string>

namespace vornplatform {

enum class ReadResult { Read, Missing, Failed };

// What tells a file's versions apart without reading it; a missing file has exists false.
struct FileStamp {
  bool exists = false;
  unsigned long long device = 0, inode = 0, size = 0;
  long long seconds = 0, nanoseconds = 0;
  bool operator==(const FileStamp& other) const;
  bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

FileStamp stampOf(const std::string& path);

// A profile file's native path and its stamp.
struct ProfileLocation {
  std::string path;
  FileStamp stamp;
};

// Where a name given to the profile functions leads: the name itself (backslashes made slashes)
// when that file exists, else what resolvePath finds. The usual case looks at the disk once, as
// every key read or written needs this.
ProfileLocation locateProfile(const char* fileName);

// Reads every byte of the file at path; Missing when it (or its folder) does not exist.
ReadResult readWholeFile(const std::string& path, std::string& content);

// Makes path hold content: writes a temporary file in the same folder, flushes it to disk and
// renames it over path, so readers and a crash see either the old file or the new one.
bool replaceWholeFile(const std::string& path, const std::string& content);

}  // namespace vornplatform
