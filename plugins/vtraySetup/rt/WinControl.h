// A control with a window of its own (a layer window of the runtime's class): it routes the
// window's messages through its window method, paints itself and its graphic children, takes
// the focus on a click and tells the mouse coming in and going out.
#pragma once

#include <vector>

#include "plugins/vtraySetup/rt/Control.h"

namespace frt {

class WinControl : public Control {
 public:
  WinControl(Component* owner, WinControl* parent);
  ~WinControl() override;
  const char* className() const override { return "TWinControl"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TWinControl" || Control::inheritsFrom(n);
  }

  HWND handle() const override { return handle_; }
  const std::vector<Control*>& children() const { return children_; }
  void addChild(Control* child) { children_.push_back(child); }
  void removeChild(Control* child);
  // Makes the window inside parentWindow (the parent control's when null), then the windows
  // of the windowed children. False when the layer refuses.
  bool createHandle(HWND parentWindow = nullptr);
  bool focused() const { return handle_ != nullptr && GetFocus() == handle_; }
  void invalidate() override;
  bool tabStop = false;

  void defaultHandler(Message& message) override;

 protected:
  virtual DWORD windowStyle() const { return WS_CHILD | WS_CLIPCHILDREN; }
  // The window is gone: the object stays, without a handle.
  virtual void handleDestroyed() {}

 private:
  static LRESULT CALLBACK windowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void paintAll();
  void trackMouse(const Message& message);
  // Hands a mouse message over a graphic child (or to the one holding the button) to it, in
  // its own coordinates; true when a child took it.
  bool routeToGraphic(Message& message);
  Control* graphicAt(int x, int y) const;
  void setMouseControl(Control* control);

  HWND handle_ = nullptr;
  bool mouseInside_ = false;
  Control* mouseControl_ = nullptr;    // the graphic child under the mouse
  Control* captureControl_ = nullptr;  // the graphic child a button went down on
  std::vector<Control*> children_;
};

}  // namespace frt
