// Shared helpers of the layer's file functions: Win32 error codes for errno values and the
// attributes Windows would show for a file's details. Internal to platform/.
#pragma once

#include <cstdint>

struct stat;

namespace vornplatform {
// The GetLastError code for an errno value of a failed file call.
uint32_t fileErrorOf(int errnoValue);
// FILE_ATTRIBUTE_* bits for a file or folder: NORMAL alone when nothing else applies.
uint32_t attributesOf(const struct stat& st);
}  // namespace vornplatform
