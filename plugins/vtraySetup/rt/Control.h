// A visible thing on a form: bounds, colour, font, caption, enabled and visible, and a window
// method that a skin can replace (graphic controls without a window too); perform() sends it.
#pragma once

#include <functional>
#include <string>

#include "plugins/vtraySetup/rt/Canvas.h"
#include "plugins/vtraySetup/rt/Component.h"
#include "plugins/vtraySetup/rt/RuntimeMessages.h"

namespace frt {

class WinControl;

class Control : public Component {
 public:
  using WndMethod = std::function<void(Message&)>;

  Control(Component* owner, WinControl* parent);
  ~Control() override;
  const char* className() const override { return "TControl"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TControl" || Component::inheritsFrom(n);
  }

  WinControl* parent() const { return parent_; }
  virtual HWND handle() const { return nullptr; }
  // The parent's colour (the colour a child sits on); the control's own when it has none.
  Color parentColor() const;
  RECT clientRect() const { return RECT{0, 0, width, height}; }
  LRESULT perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  void setBounds(int x, int y, int w, int h);
  void setEnabled(bool enabled);
  virtual void invalidate();
  bool isRightToLeft() const { return rightToLeft; }

  int left = 0, top = 0, width = 0, height = 0;
  Color color = clBtnFace;
  FontStyle font;
  std::string caption;
  bool enabled = true;
  bool visible = true;
  bool rightToLeft = false;
  bool ctl3D = true;
  bool singleBorder = true;
  WndMethod windowProc;

  // What the control does with a message when nothing replaced its window method.
  virtual void defaultHandler(Message& message);
  // The runtime's own painting of the control.
  virtual void paint(Canvas&) {}

 private:
  WinControl* parent_;
};

}  // namespace frt
