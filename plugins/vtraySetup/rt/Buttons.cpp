#include "plugins/vtraySetup/rt/Buttons.h"

namespace frt {

namespace {

void raised(Canvas& canvas, const RECT& r) {
  canvas.frameRect(r, clBtnShadow);
  canvas.frameRect(RECT{r.left, r.top, r.right - 1, r.bottom - 1}, clBtnHighlight);
}

void centredCaption(Canvas& canvas, const Control& control, RECT r) {
  canvas.setFont(control.font);
  canvas.setTransparentText();
  canvas.drawText(control.caption, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

}  // namespace

void Button::paint(Canvas& canvas) {
  canvas.fillRect(clientRect(), color);
  raised(canvas, clientRect());
  centredCaption(canvas, *this, clientRect());
}

void SpeedButton::paint(Canvas& canvas) {
  RECT r{left, top, left + width, top + height};
  canvas.fillRect(r, color);
  if (!flat) raised(canvas, r);
  centredCaption(canvas, *this, r);
}

void GroupBox::paint(Canvas& canvas) {
  canvas.fillRect(clientRect(), color);
  canvas.setFont(font);
  int h = canvas.textHeight(caption.empty() ? " " : caption);
  canvas.frameRect(RECT{0, h / 2, width, height}, clBtnShadow);
  RECT text{8, 0, width, h};
  canvas.setTextColor(font.color);
  canvas.drawText(caption, &text, DT_SINGLELINE | DT_LEFT);
}

}  // namespace frt
