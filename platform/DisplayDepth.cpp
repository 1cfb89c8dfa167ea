// The depth the layer reports for the display: its images are 32 bits per pixel, and tests may
// pretend a shallower display.
#include <atomic>

#include "platform/DeviceContext.h"
#include "platform/testing_display.h"

namespace {
std::atomic<int> pretendedBits{0};
}

namespace vornplatform {

int displayBitsPerPixel() {
  int bits = pretendedBits.load();
  return bits > 0 ? bits : 32;
}

}  // namespace vornplatform

namespace vorntest {

void setDisplayBitsPerPixel(int bits) { pretendedBits.store(bits > 0 ? bits : 0); }

}  // namespace vorntest
