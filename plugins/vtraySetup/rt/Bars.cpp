#include "plugins/vtraySetup/rt/Bars.h"

#include <algorithm>

namespace frt {

namespace {
// The custom-draw item-state bits the bars report.
constexpr UINT kSelected = 0x1, kDisabled = 0x4, kChecked = 0x8, kHot = 0x40,
               kIndeterminate = 0x100;
const int kGrabberWidth = 11;
}  // namespace

ToolButton* ToolBar::addButton(const RECT& bounds, ToolButtonStyle style) {
  auto* button = new ToolButton(this);
  button->bounds = bounds;
  button->style = style;
  buttons_.push_back(button);
  button->freeNotices.push_back([this](Component* gone) {
    buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), gone), buttons_.end());
    if (hot_ == gone) hot_ = nullptr;
    if (pressed_ == gone) pressed_ = nullptr;
  });
  return button;
}

int ToolBar::indexOf(const ToolButton* button) const {
  auto found = std::find(buttons_.begin(), buttons_.end(), button);
  return found == buttons_.end() ? -1 : static_cast<int>(found - buttons_.begin());
}

UINT ToolBar::stateOf(const ToolButton& b) const {
  UINT state = 0;
  if (!b.enabled || !enabled) state |= kDisabled;
  if (b.down) state |= kChecked;
  if (b.indeterminate) state |= kIndeterminate;
  if (&b == hot_ && b.enabled) state |= kHot;
  if (&b == pressed_ && &b == hot_) state |= kSelected;
  return state;
}

void ToolBar::paint(Canvas& canvas) {
  if (!transparent) canvas.fillRect(clientRect(), color);
  canvas_ = &canvas;
  for (ToolButton* button : buttons_) {
    bool defaultDraw = true;
    if (onCustomDrawButton) onCustomDrawButton(*this, *button, stateOf(*button), defaultDraw);
    bool line = button->style == ToolButtonStyle::Separator ||
                button->style == ToolButtonStyle::Divider;
    if (!defaultDraw || line) continue;
    RECT text = button->bounds;
    canvas.frameRect(button->bounds, clBtnShadow);
    if (!showCaptions) continue;
    canvas.setFont(font);
    canvas.setTransparentText();
    canvas.drawText(button->caption, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  canvas_ = nullptr;
}

ToolButton* ToolBar::buttonAt(int x, int y) const {
  for (ToolButton* button : buttons_) {
    const RECT& r = button->bounds;
    bool line = button->style == ToolButtonStyle::Separator ||
                button->style == ToolButtonStyle::Divider;
    if (!line && x >= r.left && x < r.right && y >= r.top && y < r.bottom) return button;
  }
  return nullptr;
}

void ToolBar::setHot(ToolButton* button) {
  if (button == hot_) return;
  hot_ = button;
  invalidate();
}

void ToolBar::defaultHandler(Message& message) {
  int x = GET_X_LPARAM(message.lParam), y = GET_Y_LPARAM(message.lParam);
  switch (message.msg) {
    case WM_MOUSEMOVE: setHot(buttonAt(x, y)); break;
    case WM_MOUSELEAVE: setHot(nullptr); break;
    case WM_LBUTTONDOWN:
      pressed_ = buttonAt(x, y);
      invalidate();
      break;
    case WM_LBUTTONUP:
      pressed_ = nullptr;
      invalidate();
      break;
    default: break;
  }
  WinControl::defaultHandler(message);
}

RECT ControlBar::bandOf(const Control& child) {
  return RECT{child.left - kGrabberWidth, child.top - 2, child.left + child.width + 2,
              child.top + child.height + 2};
}

void ControlBar::paint(Canvas& canvas) {
  canvas.fillRect(clientRect(), color);
  for (Control* child : children()) {
    if (!child->visible) continue;
    RECT band = bandOf(*child);
    PaintOptions options;
    if (onBandPaint) onBandPaint(*this, *child, canvas, band, options);
    if (options.frame) canvas.frameRect(band, clBtnShadow);
    if (!options.grabber) continue;
    canvas.setPen(clBtnShadow);
    canvas.line(band.left + 3, band.top + 3, band.left + 3, band.bottom - 3);
  }
}

}  // namespace frt
