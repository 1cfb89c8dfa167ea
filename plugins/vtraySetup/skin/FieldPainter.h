// The flat paintings of field controls: the two halves of an up-down control, a combo box's
// frames and drop-down button, and the one-colour frame that replaces a rich edit's border.
#pragma once

#include "plugins/vtraySetup/rt/Canvas.h"
#include "plugins/vtraySetup/skin/SkinContext.h"

namespace skin {

struct UpDownView {
  RECT client{0, 0, 0, 0};
  COLORREF parentColor = 0;
  int hotHalf = -1;  // the half under the mouse: 0 upper, 1 lower, -1 none
  bool pressed = false;
};

struct ComboView {
  RECT client{0, 0, 0, 0};
  COLORREF color = 0;
  COLORREF parentColor = 0;
  int tag = 0;
  bool droppedDown = false;
  bool simpleStyle = false;
  bool rightToLeft = false;
};

class FieldPainter {
 public:
  // The half of the client area a point lies in (-1 outside).
  static int halfAt(const RECT& client, POINT point);
  static void upDown(frt::Canvas& canvas, const UpDownView& view, const SkinContext& context);
  // The drop-down button's rectangle, thumb wide on the side away from the text.
  static RECT comboButton(const ComboView& view);
  static void combo(frt::Canvas& canvas, const ComboView& view, bool hot,
                    const SkinContext& context);
  // wasSingleBorder: the border the control had before the skin took it away.
  static void richEditFrame(frt::Canvas& canvas, const RECT& window, bool wasSingleBorder,
                            COLORREF parentColor, bool hot, const SkinContext& context);
};

}  // namespace skin
