// Internal to platform/: what SystemParametersInfoA answers for SPI_GETNONCLIENTMETRICS.
#pragma once

#include "platform/win32_metrics.h"

namespace vornplatform {

// Fills metrics when its cbSize (or size, when given) is the record's size; false otherwise.
bool nonClientMetrics(UINT size, NONCLIENTMETRICSA* metrics);

}  // namespace vornplatform
