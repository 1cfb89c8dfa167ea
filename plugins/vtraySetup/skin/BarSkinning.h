// The skin's hold on bars: a tool bar made flat whose buttons it draws through the custom-draw
// event, a control bar whose bands it paints, each only where the bar had no drawing of its own
// (or OverrideOwnerDraw is on), and given back only while the event is still the skin's.
#pragma once

#include "plugins/vtraySetup/rt/Bars.h"

namespace skin {

class FlatSkin;

class BarSkinning {
 public:
  // False when the control is no bar the skin handles.
  static bool hook(FlatSkin& skin, frt::Control& bar);
  static void unhook(const FlatSkin& skin, frt::Control& bar);
};

}  // namespace skin
