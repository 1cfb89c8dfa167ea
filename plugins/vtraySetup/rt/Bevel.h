// A graphic frame drawn on its parent (no window of its own); the framed shape is etched:
// a shadow line with a highlight line one pixel further right and down.
#pragma once

#include "plugins/vtraySetup/rt/Control.h"

namespace frt {

class Bevel : public Control {
 public:
  using Control::Control;
  const char* className() const override { return "TBevel"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TBevel" || n == "TGraphicControl" || Control::inheritsFrom(n);
  }
  // Graphic controls paint in their parent's coordinates.
  void paint(Canvas& canvas) override;
};

}  // namespace frt
