// The flat paintings of the ordinary control kinds: check box and radio button squares, the
// one-pixel frames of lists, edits, progress bars and hot-key controls, and panel bevels.
// Each draws on a canvas from plain inputs, so it can be checked pixel by pixel.
#pragma once

#include "plugins/vtraySetup/rt/Canvas.h"
#include "plugins/vtraySetup/skin/SkinContext.h"

namespace skin {

struct ToggleView {
  RECT client{0, 0, 0, 0};
  COLORREF color = 0;  // the control's colour
  int state = 0;       // 0 unchecked, 1 checked, 2 grayed
  bool enabled = true;
  bool boxAtLeft = true;  // left-aligned text in left-to-right reading
};

class ControlPainter {
 public:
  // The square of the thumb width, centred in the client area less 3 pixels (radio: 4) at top
  // and bottom.
  static RECT toggleSquare(const ToggleView& view, int inset);
  static void checkBox(frt::Canvas& canvas, const ToggleView& view, const ControlState& state,
                       const SkinContext& context);
  static void radioButton(frt::Canvas& canvas, const ToggleView& view, const ControlState& state,
                          const SkinContext& context);
  // List box, tree view and list view: a rectangle round the whole window.
  static void listFrame(frt::Canvas& canvas, const RECT& window, bool singleBorder,
                        COLORREF parentColor, bool hot, const SkinContext& context);
  static void editFrame(frt::Canvas& canvas, const RECT& client, bool hasBorder,
                        COLORREF ownColor, COLORREF parentColor, bool hot, bool mouseOnly,
                        const SkinContext& context);
  static void progressFrame(frt::Canvas& canvas, const RECT& window, COLORREF parentColor,
                            bool mouseInside, const SkinContext& context);
  static void hotKeyFrame(frt::Canvas& canvas, const RECT& window, COLORREF parentColor,
                          bool hot, const SkinContext& context);
  // Outer and inner bevels (0 none, 1 lowered, 2 raised) of the given widths.
  static void panelBevels(frt::Canvas& canvas, const RECT& client, COLORREF color, int outer,
                          int inner, int bevelWidth, int borderWidth);
};

}  // namespace skin
