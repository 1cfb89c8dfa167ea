// Field controls the skin frames: the up-down arrows, the combo box (drop-down or simple) and
// the rich edit with its border width. The runtime paints them plainly.
#pragma once

#include "plugins/vtraySetup/rt/WinControl.h"

namespace frt {

// Asks a combo box whether its list is dropped down.
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;

class UpDown : public WinControl {
 public:
  using WinControl::WinControl;
  const char* className() const override { return "TUpDown"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TUpDown" || n == "TCustomUpDown" || WinControl::inheritsFrom(n);
  }
  void paint(Canvas& canvas) override { canvas.fillRect(clientRect(), clBtnFace); }
};

// What every edit with a drop-down list shares: it answers whether its list is dropped down.
class DropDownField : public WinControl {
 public:
  DropDownField(Component* owner, WinControl* parent) : WinControl(owner, parent) {
    color = clWindow;
    tabStop = true;
  }
  void paint(Canvas& canvas) override { canvas.fillRect(clientRect(), color); }
  void defaultHandler(Message& message) override {
    if (message.msg == CB_GETDROPPEDSTATE) {
      message.result = droppedDown ? TRUE : FALSE;
      return;
    }
    WinControl::defaultHandler(message);
  }
  bool droppedDown = false;
};

class ComboBox : public DropDownField {
 public:
  using DropDownField::DropDownField;
  const char* className() const override { return "TComboBox"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TComboBox" || n == "TCustomComboBox" || DropDownField::inheritsFrom(n);
  }
  bool simpleStyle = false;  // an edit with its list below, no drop-down button
};

// A data-aware lookup list known to the skin by its class name only.
class DBLookupComboBox : public DropDownField {
 public:
  using DropDownField::DropDownField;
  const char* className() const override { return "TDBLookupComboBox"; }
};

class RichEdit : public WinControl {
 public:
  RichEdit(Component* owner, WinControl* parent) : WinControl(owner, parent) { color = clWindow; }
  const char* className() const override { return "TRichEdit"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TRichEdit" || n == "TCustomRichEdit" || WinControl::inheritsFrom(n);
  }
  void paint(Canvas& canvas) override { canvas.fillRect(clientRect(), color); }
  int borderWidth = 0;
};

}  // namespace frt
