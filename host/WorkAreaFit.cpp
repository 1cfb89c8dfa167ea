// Fits a window's saved place onto the screen's work area.
#include "host/WorkAreaFit.h"

#include <algorithm>

#include "platform/win32.h"

namespace {

int clampTo(int value, int least, int most) { return std::max(least, std::min(value, most)); }

// One axis: origin and extent inside [start, end).
void fitAxis(int& origin, int& extent, int start, int end, int minimum) {
  int room = std::max(end - start, 1);
  extent = clampTo(extent, std::min(minimum, room), room);
  origin = clampTo(origin, start, end - extent);
}

}  // namespace

void fitToWorkArea(int& left, int& top, int& width, int& height) {
  RECT area = {0, 0, 800, 600};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) || area.right <= area.left ||
      area.bottom <= area.top)
    area = RECT{0, 0, 800, 600};
  fitAxis(left, width, area.left, area.right, MinFittedWidth);
  fitAxis(top, height, area.top, area.bottom, MinFittedHeight);
}
