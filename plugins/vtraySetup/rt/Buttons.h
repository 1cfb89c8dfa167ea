// The button family of the runtime as the skin sees it: push buttons, bit buttons with a glyph
// strip, speed buttons (graphic, no window) and group boxes. The runtime paints them plainly;
// their flat look is the skin's.
#pragma once

#include <memory>

#include "plugins/vtraySetup/rt/Bitmap.h"
#include "plugins/vtraySetup/rt/WinControl.h"

namespace frt {

class Button : public WinControl {
 public:
  Button(Component* owner, WinControl* parent) : WinControl(owner, parent) { tabStop = true; }
  const char* className() const override { return "TButton"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TButton" || WinControl::inheritsFrom(n);
  }
  void paint(Canvas& canvas) override;
  bool isDefault = false;
};

class BitBtn : public Button {
 public:
  using Button::Button;
  const char* className() const override { return "TBitBtn"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TBitBtn" || Button::inheritsFrom(n);
  }
  std::unique_ptr<Bitmap> glyph;
  int numGlyphs = 1;
  int layout = 0;  // glyph left, right, top, bottom
  int spacing = 4;
};

class SpeedButton : public Control {
 public:
  using Control::Control;
  const char* className() const override { return "TSpeedButton"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TSpeedButton" || n == "TGraphicControl" || Control::inheritsFrom(n);
  }
  void paint(Canvas& canvas) override;
  std::unique_ptr<Bitmap> glyph;
  int numGlyphs = 1;
  int layout = 0;
  int spacing = 4;
  bool down = false;
  bool flat = false;
  bool transparent = false;
};

class GroupBox : public WinControl {
 public:
  using WinControl::WinControl;
  const char* className() const override { return "TGroupBox"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TGroupBox" || n == "TCustomGroupBox" || WinControl::inheritsFrom(n);
  }
  void paint(Canvas& canvas) override;
};

}  // namespace frt
