// Internal to platform/: the file dialogs' filter list ("Text\0*.txt;*.log\0...\0\0") and
// the placing of a chosen path into an OPENFILENAMEA.
#pragma once

#include <string>
#include <vector>

#include "platform/testing_dialogs.h"

namespace vornplatform {

// The description/pattern pairs of a filter list; a pair without a pattern ends it.
std::vector<vorntest::FileFilter> parseFileFilter(const char* filter);

// Where the name and its extension start in a path (after the last '/' or '\'; the extension
// after the name's last dot, or the path's end when the name has none).
struct PathOffsets {
  size_t name;
  size_t extension;
};
PathOffsets pathOffsets(const std::string& path);

// The path with ".defExt" added when its name has no extension and defExt is not empty.
std::string withDefaultExtension(const std::string& path, const char* defExt);

}  // namespace vornplatform
