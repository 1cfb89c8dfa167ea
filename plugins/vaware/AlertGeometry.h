// Where the alert pop-up goes and how big it is: the measured line scaled by the font size,
// wrapped to the template's width, in one corner of the work area and never beyond it.
#pragma once

#include "platform/win32.h"

struct AlertPlacement {
  int x, y, width, height;
  int lines;       // lines the whole text needs
  int shownLines;  // lines that fit the work area; fewer than lines means the text must be cut
};

class AlertGeometry {
 public:
  // textWidth/textHeight: the line's extent as measured; fontSize in points (8 measures as
  // is); templateWidth: the pop-up's width as made. position 1 top right, 2 top left, 3 bottom
  // right, anything else bottom left, counted from the work area's right and bottom edges and
  // from 0 on the left and top, then moved inside the work area where that left it.
  static AlertPlacement place(int textWidth, int textHeight, int fontSize, int templateWidth,
                              const RECT& work, int position);
};
