// Where the alert pop-up goes and how big it is: the measured line scaled by the font size,
// wrapped to the template's width, in one corner of the work area.
#pragma once

struct AlertPlacement {
  int x, y, width, height;
};

class AlertGeometry {
 public:
  // textWidth/textHeight: the line's extent as measured; fontSize in points (8 measures as
  // is); templateWidth: the pop-up's width as made. position 1 top right, 2 top left, 3 bottom
  // right, anything else bottom left; the work area's left and top count as 0.
  static AlertPlacement place(int textWidth, int textHeight, int fontSize, int templateWidth,
                              int workRight, int workBottom, int position);
};
