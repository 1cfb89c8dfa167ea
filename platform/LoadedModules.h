// What the library table knows about loaded modules, for other areas of the layer.
// Internal to platform/.
#pragma once

#include <string>

#include "platform/win32_base.h"

namespace vornplatform {
// True when the file at nativePath is a library currently loaded through LoadLibraryA.
bool isLoadedModulePath(const std::string& nativePath);
// True for the program's handle and for libraries loaded through LoadLibraryA and not yet
// unloaded; false for the system pseudo-handles and anything else.
bool isModuleHandle(HMODULE module);
// Drops what the module registered (bitmap and icon resources); FreeLibrary calls it on unloading.
void forgetModuleResources(HMODULE module);
}  // namespace vornplatform
