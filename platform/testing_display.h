// Test hook for the display depth: GetDeviceCaps(BITSPIXEL) answers the depth set here
// (e.g. 16 or 15 for the paintings of shallow displays) until it is set back to 0.
#pragma once

#include "platform/win32_base.h"

namespace vorntest {

VORNAPI void setDisplayBitsPerPixel(int bits);

}  // namespace vorntest
