#include "plugins/vtraySetup/rt/Colors.h"

namespace frt {

COLORREF colorToRGB(Color color) {
  if (color & kSystemColorFlag) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0xFFFFFF;
}

}  // namespace frt
