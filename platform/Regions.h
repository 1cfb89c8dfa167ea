// Internal to platform/: the table of regions behind HRGN handles and the shapes windows
// are cut to.
#pragma once

#include <QRegion>

#include "platform/win32_ownerdraw.h"

namespace vornplatform {

// The region behind a handle; false for anything else.
bool regionOf(HRGN handle, QRegion* out);
// Frees a region; false when the handle is not one (DeleteObject then tries the other kinds).
bool deleteRegion(HGDIOBJ handle);

}  // namespace vornplatform
