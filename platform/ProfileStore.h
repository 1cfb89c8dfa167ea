// Whole-file reads and atomic whole-file replacement for the profile functions.
// Internal to platform/; paths are native ones (already through resolvePath).
#pragma once

#include <string>

namespace vornplatform {

enum class ReadResult { Read, Missing, Failed };

// Reads every byte of the file at path; Missing when it (or its folder) does not exist.
ReadResult readWholeFile(const std::string& path, std::string& content);

// Makes path hold content: writes a temporary file in the same folder, flushes it to disk and
// renames it over path, so readers and a crash see either the old file or the new one.
bool replaceWholeFile(const std::string& path, const std::string& content);

}  // namespace vornplatform
