// One hooked control: it replaces the control's window method, keeps the hot, focused,
// button and space flags, and repaints the control flat after each trigger message. Unhooking
// puts the previous method and the 3-D and border settings back.
#pragma once

#include <memory>

#include "plugins/vtraySetup/rt/Control.h"
#include "plugins/vtraySetup/skin/SkinContext.h"
#include "plugins/vtraySetup/skin/SkinKinds.h"

namespace skin {

class FlatSkin;

class ControlSubClass : public frt::Component {
 public:
  ControlSubClass(FlatSkin* skin, frt::Control* control);
  ~ControlSubClass() override;
  const char* className() const override { return "TControlSubClass"; }

  frt::Control* control() const { return control_; }
  const ControlState& state() const { return state_; }
  bool mouseInside() const { return mouseInside_; }
  bool recreationPending() const { return recreationPending_; }
  // The control's border before the skin's (a rich edit loses its single border).
  bool hadSingleBorder() const { return savedSingleBorder_; }
  // Restores the control (when it still lives) and stops seeing its messages.
  void unhook();

 private:
  void handle(frt::Message& message);
  void noteBefore(const frt::Message& message);
  static bool isTrigger(const frt::Message& message);
  void repaint(const frt::Message& message);
  void swapRichEditBorder();

  FlatSkin* skin_;
  frt::Control* control_;
  frt::Control::WndMethod previous_;
  PaintKind kind_;
  bool savedCtl3D_;
  bool savedSingleBorder_;
  int savedBorderWidth_ = 0;
  ControlState state_;
  bool mouseInside_ = false;
  bool recreationPending_ = false;
  bool hooked_ = true;
  std::shared_ptr<bool> alive_;
};

}  // namespace skin
