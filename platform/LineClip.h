// Internal to platform/: lines reaching far beyond the area they are drawn in are cut to it
// before they are stepped through, so one line never costs more than the area is wide.
#pragma once

#include <QPoint>
#include <QRect>

namespace vornplatform {

// Cuts the ends of a to b that lie far outside clip to just outside it; a line whose ends
// are both near the clip is left exactly as it is. False when no part of the line can touch
// the clip.
bool cutFarLine(const QRect& clip, QPoint* a, QPoint* b);

}  // namespace vornplatform
