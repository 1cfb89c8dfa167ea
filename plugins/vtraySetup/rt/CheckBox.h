// A check box painted by the runtime: a box with a mark and its caption. Its state goes
// through BM_GETCHECK/BM_SETCHECK, so a hook on its window method sees every read and change;
// a click or the space key toggles it.
#pragma once

#include "plugins/vtraySetup/rt/WinControl.h"

namespace frt {

class CheckBox : public WinControl {
 public:
  CheckBox(Component* owner, WinControl* parent);
  const char* className() const override { return "TCheckBox"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TCheckBox" || n == "TCustomCheckBox" || WinControl::inheritsFrom(n);
  }

  bool checked() { return perform(BM_GETCHECK) == BST_CHECKED; }
  void setChecked(bool value) { perform(BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED); }
  int state() const { return state_; }  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
  bool alignRight = true;  // caption right of the box (left-to-right reading)

  void defaultHandler(Message& message) override;
  void paint(Canvas& canvas) override;

 private:
  void toggle();
  int state_ = BST_UNCHECKED;
  bool pressed_ = false;
};

}  // namespace frt
