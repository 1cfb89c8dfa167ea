// One process-wide counter so that no two handles of any kind share a value.
#include "platform/Handles.h"

#include <atomic>

namespace vornplatform {
uint32_t nextHandleValue() {
  static std::atomic<uint32_t> next{0x100};
  return next.fetch_add(4);
}
}  // namespace vornplatform
