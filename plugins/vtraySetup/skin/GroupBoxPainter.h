// The flat group box (the system frame rubbed out, a one-pixel frame, the band above it in
// the parent colour and the caption in its gap) and the lookup combo box's flat frame, button
// and arrow.
#pragma once

#include <string>

#include "plugins/vtraySetup/rt/Canvas.h"
#include "plugins/vtraySetup/skin/SkinContext.h"

namespace skin {

struct GroupBoxView {
  RECT client{0, 0, 0, 0};
  COLORREF color = 0;
  COLORREF parentColor = 0;
  bool ctl3D = true;
  bool rightToLeft = false;
  std::string caption;
  frt::FontStyle font;
};

struct LookupComboView {
  RECT client{0, 0, 0, 0};  // used from (0, 0)
  COLORREF color = 0;
  COLORREF parentColor = 0;
  bool enabled = true;
  bool droppedDown = false;
  bool rightToLeft = false;
  bool simpleStyle = false;
};

class GroupBoxPainter {
 public:
  static void groupBox(frt::Canvas& canvas, const GroupBoxView& view, const SkinContext& context);
  static void lookupCombo(frt::Canvas& canvas, const LookupComboView& view,
                          const ControlState& state, const SkinContext& context);
};

}  // namespace skin
