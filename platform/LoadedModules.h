// What the library table knows about loaded modules, for other areas of the layer.
// Internal to platform/.
#pragma once

#include <string>

namespace vornplatform {
// True when the file at nativePath is a library currently loaded through LoadLibraryA.
bool isLoadedModulePath(const std::string& nativePath);
}  // namespace vornplatform
