// The file dialogs' filter list and path offsets: plain byte work, no Qt.
#include "platform/DialogFilter.h"

#include <cstring>

namespace vornplatform {

std::vector<vorntest::FileFilter> parseFileFilter(const char* filter) {
  std::vector<vorntest::FileFilter> filters;
  if (filter == nullptr) return filters;
  const char* at = filter;
  while (*at != '\0') {
    vorntest::FileFilter pair;
    pair.description = at;
    at += pair.description.size() + 1;
    if (*at == '\0') break;
    pair.patterns = at;
    at += pair.patterns.size() + 1;
    filters.push_back(pair);
  }
  return filters;
}

PathOffsets pathOffsets(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  size_t name = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = path.find_last_of('.');
  size_t extension = dot == std::string::npos || dot < name ? path.size() : dot + 1;
  return {name, extension};
}

std::string withDefaultExtension(const std::string& path, const char* defExt) {
  if (defExt == nullptr || *defExt == '\0' || path.empty()) return path;
  PathOffsets offsets = pathOffsets(path);
  if (offsets.extension != path.size() || offsets.name == path.size()) return path;
  return path + "." + defExt;
}

}  // namespace vornplatform
