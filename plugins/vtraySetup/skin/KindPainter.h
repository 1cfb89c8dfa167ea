// Hands a hooked control to the painting of its kind, on a canvas of its own (a graphic
// control: its parent's, in the parent's coordinates), after the control's own painting.
#pragma once

#include "plugins/vtraySetup/rt/Control.h"
#include "plugins/vtraySetup/skin/SkinContext.h"
#include "plugins/vtraySetup/skin/SkinKinds.h"

namespace skin {

class ControlSubClass;

class KindPainter {
 public:
  static void paint(frt::Control& control, PaintKind kind, const ControlSubClass& hook,
                    const SkinContext& context, const frt::Message& message);
};

}  // namespace skin
