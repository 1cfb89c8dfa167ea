// Handle values of the layer: small integers, unique across every kind, never reused.
// Internal to platform/; each area keeps its own map from value to object.
#pragma once

#include <cstdint>

namespace vornplatform {
// Returns a fresh handle value (starts above zero; fits in 32 bits).
uint32_t nextHandleValue();
}  // namespace vornplatform
