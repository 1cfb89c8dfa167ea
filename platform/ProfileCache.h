// The profile files of this process, each kept parsed in memory, so that a burst of writes on
// the GUI thread costs one file replacement when its message loop next waits. Internal.
#pragma once

#include <functional>
#include <string>

#include "platform/ProfileFile.h"

namespace vornplatform {

enum class EditResult { Done, Unreadable, WriteFailed };

// An edit answers whether it changed the file. Kept until the file is written, so that it can
// be applied again on top of a change another program made meanwhile.
using ProfileEdit = std::function<bool(ProfileFile&)>;

// Calls use with the file as this process last wrote it or, when the disk version changed,
// as it is now (empty when missing or unreadable). fileName is as the caller gave it
// (locateProfile finds the file).
void readProfileFile(const char* fileName, const std::function<void(const ProfileFile&)>& use);

// Applies edit. On the thread of a running message loop the file is written later; any other
// thread (or before the loop runs) writes it at once, and a failed write is undone.
EditResult editProfileFile(const char* fileName, ProfileEdit edit);

// Writes what waits for path; false when that write failed.
bool flushProfileFile(const std::string& path);
// Writes what waits for every file (at the process's end, and on request).
void flushProfileFiles();
// The same when the loop is about to wait, if anything was written since the last time.
void flushRecentProfileWrites();

// Called by the GUI thread's message loop: from then on that thread's writes wait for it.
void noteMessageLoopRunning();

}  // namespace vornplatform
