#include "plugins/vaware/AlertGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

// start, moved so that [start, start + size) lies within [low, high) where it can.
int inside(int start, int size, int low, int high) {
  return std::max(low, std::min(start, high - size));
}

}  // namespace

AlertPlacement AlertGeometry::place(int textWidth, int textHeight, int fontSize, int templateWidth,
                                    const RECT& work, int position) {
  int cx = textWidth * fontSize / 8;
  int cy = std::max(textHeight * fontSize / 8, 1);
  int workWidth = std::max(static_cast<int>(work.right - work.left), 1);
  int workHeight = std::max(static_cast<int>(work.bottom - work.top), 1);
  // Every alert starts from the template's width, so a short one never narrows the next.
  int w = std::min(templateWidth > 0 ? templateWidth : 1, workWidth);
  int lines = std::max(static_cast<int>(std::ceil(static_cast<double>(cx) / w)), 1);
  int fitting = std::max((workHeight - 5) / cy, 1);
  AlertPlacement p{0, 0, std::max(cx > w ? w : cx, 1), 0, lines, std::min(lines, fitting)};
  p.height = std::min(p.shownLines * cy + 5, workHeight);
  switch (position) {
    case 1:
      p.x = work.right - p.width;
      break;
    case 2:
      break;
    case 3:
      p.x = work.right - p.width;
      p.y = work.bottom - p.height;
      break;
    default:
      p.y = work.bottom - p.height;
      break;
  }
  p.x = inside(p.x, p.width, work.left, work.right);
  p.y = inside(p.y, p.height, work.top, work.bottom);
  return p;
}
