#include "outside/vtraySetup/skin/KindPainter.h"

#include <memory>

#include "outside/vtraySetup/rt/CheckBox.h"
#include "outside/vtraySetup/rt/WinControl.h"
#include "outside/vtraySetup/skin/ControlPainter.h"
#include "outside/vtraySetup/skin/ControlSubClass.h"

namespace skin {

namespace {

using frt::colorToRGB;

ToggleView toggleOf(frt::Control& control) {
  ToggleView view;
  view.client = control.clientRect();
  view.color = colorToRGB(control.color);
  frt::CheckBox* box = dynamic_cast<frt::CheckBox*>(&control);
  view.state = box ? box->state() : BST_UNCHECKED;
  view.enabled = control.enabled;
  bool alignRight = box ? box->alignRight : true;
  view.boxAtLeft = alignRight != control.isRightToLeft();
  return view;
}

void paintOn(frt::Canvas& canvas, frt::Control& control, PaintKind kind,
             const ControlSubClass& hook, const SkinContext& context) {
  const ControlState& state = hook.state();
  COLORREF parent = colorToRGB(control.parentColor());
  RECT whole = control.clientRect();
  switch (kind) {
    case PaintKind::CheckBox:
      ControlPainter::checkBox(canvas, toggleOf(control), state, context);
      break;
    case PaintKind::RadioButton:
      ControlPainter::radioButton(canvas, toggleOf(control), state, context);
      break;
    case PaintKind::ListFrame:
      ControlPainter::listFrame(canvas, whole, control.singleBorder, parent, state.hot, context);
      break;
    case PaintKind::Edit:
      ControlPainter::editFrame(canvas, whole, control.singleBorder, colorToRGB(control.color),
                                parent, state.hot, hook.mouseInside() && !state.focused, context);
      break;
    case PaintKind::Progress:
      ControlPainter::progressFrame(canvas, whole, parent, hook.mouseInside(), context);
      break;
    case PaintKind::HotKey:
      ControlPainter::hotKeyFrame(canvas, whole, parent, state.hot, context);
      break;
    case PaintKind::Panel:
      if (control.handle() == nullptr) break;
      ControlPainter::panelBevels(canvas, whole, colorToRGB(control.color), 2, 0, 1, 0);
      break;
    default:
      break;
  }
}

}  // namespace

void KindPainter::paint(frt::Control& control, PaintKind kind, const ControlSubClass& hook,
                        const SkinContext& context, const frt::Message& message) {
  if (control.handle() != nullptr) {
    std::unique_ptr<frt::Canvas> canvas(frt::Canvas::forWindow(control.handle()));
    if (canvas) paintOn(*canvas, control, kind, hook, context);
    return;
  }
  (void)message;
}

}  // namespace skin
