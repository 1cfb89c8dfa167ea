#include "plugins/vaware/AlertGeometry.h"

#include <cmath>

AlertPlacement AlertGeometry::place(int textWidth, int textHeight, int fontSize, int templateWidth,
                                    int workRight, int workBottom, int position) {
  int cx = textWidth * fontSize / 8;
  int cy = textHeight * fontSize / 8;
  // Every alert starts from the template's width, so a short one never narrows the next.
  int w = templateWidth > 0 ? templateWidth : 1;
  int lines = static_cast<int>(std::ceil(static_cast<double>(cx) / w));
  if (lines < 1) lines = 1;
  AlertPlacement p{0, 0, cx > w ? w : cx, lines * cy + 5};
  if (p.width < 1) p.width = 1;
  switch (position) {
    case 1:
      p.x = workRight - p.width;
      break;
    case 2:
      break;
    case 3:
      p.x = workRight - p.width;
      p.y = workBottom - p.height;
      break;
    default:
      p.y = workBottom - p.height;
      break;
  }
  return p;
}
