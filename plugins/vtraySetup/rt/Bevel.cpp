#include "plugins/vtraySetup/rt/Bevel.h"

namespace frt {

void Bevel::paint(Canvas& canvas) {
  canvas.frameRect(RECT{left, top, left + width - 1, top + height - 1}, clBtnShadow);
  canvas.frameRect(RECT{left + 1, top + 1, left + width, top + height}, clBtnHighlight);
}

}  // namespace frt
