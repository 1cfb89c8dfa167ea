#include "plugins/vtraySetup/rt/Control.h"

#include "plugins/vtraySetup/rt/WinControl.h"

namespace frt {

Control::Control(Component* owner, WinControl* parent) : Component(owner), parent_(parent) {
  windowProc = [this](Message& message) { defaultHandler(message); };
  if (parent_) parent_->addChild(this);
}

Control::~Control() {
  if (parent_) parent_->removeChild(this);
}

Color Control::parentColor() const { return parent_ ? parent_->color : color; }

LRESULT Control::perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  Message message{msg, wParam, lParam, 0};
  windowProc(message);
  return message.result;
}

void Control::setBounds(int x, int y, int w, int h) {
  left = x;
  top = y;
  width = w;
  height = h;
  if (handle()) MoveWindow(handle(), x, y, w, h, TRUE);
}

void Control::setEnabled(bool value) {
  if (enabled == value) return;
  enabled = value;
  if (handle()) EnableWindow(handle(), value ? TRUE : FALSE);
  perform(CM_ENABLEDCHANGED, value ? 1 : 0);
  invalidate();
}

void Control::invalidate() {
  if (parent_ == nullptr || parent_->handle() == nullptr) return;
  RECT area{left, top, left + width, top + height};
  InvalidateRect(parent_->handle(), &area, FALSE);
}

// A graphic control paints when its parent hands it the parent's context in WM_PAINT.
void Control::defaultHandler(Message& message) {
  if (message.msg == WM_PAINT && message.wParam != 0) {
    Canvas canvas(reinterpret_cast<HDC>(message.wParam));
    paint(canvas);
  }
}

}  // namespace frt
