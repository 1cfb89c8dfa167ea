#include "plugins/vtraySetup/skin/KindPainter.h"

#include <memory>

#include "plugins/vtraySetup/rt/Buttons.h"
#include "plugins/vtraySetup/rt/CheckBox.h"
#include "plugins/vtraySetup/rt/Fields.h"
#include "plugins/vtraySetup/rt/WinControl.h"
#include "plugins/vtraySetup/skin/ControlPainter.h"
#include "plugins/vtraySetup/skin/ButtonPainter.h"
#include "plugins/vtraySetup/skin/ControlSubClass.h"
#include "plugins/vtraySetup/skin/FieldPainter.h"
#include "plugins/vtraySetup/skin/GroupBoxPainter.h"

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

ButtonView buttonOf(frt::Control& control, const RECT& client) {
  ButtonView view;
  view.client = client;
  view.parentColor = colorToRGB(control.parentColor());
  view.tag = control.tag;
  view.enabled = control.enabled;
  view.rightToLeft = control.isRightToLeft();
  view.caption = control.caption;
  view.font = control.font;
  if (auto* button = dynamic_cast<frt::Button*>(&control)) view.isDefault = button->isDefault;
  if (auto* bit = dynamic_cast<frt::BitBtn*>(&control)) {
    view.glyph = bit->glyph.get();
    view.numGlyphs = bit->numGlyphs;
    view.layout = static_cast<ButtonLayout>(bit->layout & 3);
    view.spacing = bit->spacing;
  }
  if (auto* speed = dynamic_cast<frt::SpeedButton*>(&control)) {
    view.glyph = speed->glyph.get();
    view.numGlyphs = speed->numGlyphs;
    view.layout = static_cast<ButtonLayout>(speed->layout & 3);
    view.spacing = speed->spacing;
    view.down = speed->down;
    view.flat = speed->flat;
    view.transparent = speed->transparent;
    view.navButton = std::string(control.className()) == "TNavButton";
  }
  return view;
}

// The half of an up-down control under the cursor, when the mouse is inside.
int hotHalfOf(frt::Control& control, bool mouseInside) {
  POINT cursor{-1, -1};
  if (!mouseInside || !GetCursorPos(&cursor)) return -1;
  ScreenToClient(control.handle(), &cursor);
  return FieldPainter::halfAt(control.clientRect(), cursor);
}

ComboView comboOf(frt::Control& control) {
  ComboView view;
  view.client = control.clientRect();
  view.color = colorToRGB(control.color);
  view.parentColor = colorToRGB(control.parentColor());
  view.tag = control.tag;
  view.rightToLeft = control.isRightToLeft();
  if (auto* combo = dynamic_cast<frt::ComboBox*>(&control)) view.simpleStyle = combo->simpleStyle;
  view.droppedDown = control.perform(frt::CB_GETDROPPEDSTATE) != 0;
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
    case PaintKind::RichEdit:
      FieldPainter::richEditFrame(canvas, whole, hook.hadSingleBorder(), parent, state.hot,
                                  context);
      break;
    case PaintKind::UpDown: {
      UpDownView view{whole, parent, hotHalfOf(control, hook.mouseInside()), state.leftDown};
      FieldPainter::upDown(canvas, view, context);
      break;
    }
    case PaintKind::Combo:
      FieldPainter::combo(canvas, comboOf(control), state.hot, context);
      break;
    case PaintKind::LookupCombo: {
      // The window is the client area less its one-pixel border on each side.
      LookupComboView view;
      view.client = RECT{0, 0, control.width - 2, control.height - 2};
      view.color = colorToRGB(control.color);
      view.parentColor = parent;
      view.enabled = control.enabled;
      view.droppedDown = control.perform(frt::CB_GETDROPPEDSTATE) != 0;
      view.rightToLeft = control.isRightToLeft();
      GroupBoxPainter::lookupCombo(canvas, view, state, context);
      break;
    }
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
    case PaintKind::Button:
      ButtonPainter::pushButton(canvas, buttonOf(control, whole), state, context);
      break;
    case PaintKind::BitBtn:
      ButtonPainter::bitButton(canvas, buttonOf(control, whole), state, context);
      break;
    case PaintKind::GroupBox: {
      GroupBoxView view;
      view.client = whole;
      view.color = colorToRGB(control.color);
      view.parentColor = parent;
      view.ctl3D = control.ctl3D;
      view.rightToLeft = control.isRightToLeft();
      view.caption = control.caption;
      view.font = control.font;
      GroupBoxPainter::groupBox(canvas, view, context);
      break;
    }
    default:
      break;
  }
}

// A speed button paints on its parent, in the parent's coordinates; the cursor too.
void paintSpeedButton(frt::Canvas& canvas, frt::Control& control, const ControlState& state,
                      const SkinContext& context) {
  if (!control.visible) return;
  RECT bounds{control.left, control.top, control.left + control.width, control.top + control.height};
  ButtonView view = buttonOf(control, bounds);
  POINT cursor{-1, -1};
  if (GetCursorPos(&cursor) && control.parent()) ScreenToClient(control.parent()->handle(), &cursor);
  view.cursor = cursor;
  ButtonPainter::speedButton(canvas, view, state, context);
}

}  // namespace

void KindPainter::paint(frt::Control& control, PaintKind kind, const ControlSubClass& hook,
                        const SkinContext& context, const frt::Message& message) {
  if (kind == PaintKind::GroupBox && message.msg != WM_PAINT) return;
  if (kind == PaintKind::LookupCombo && control.handle() != nullptr) {
    HWND window = control.handle();
    HDC whole = GetWindowDC(window);
    if (whole == nullptr) return;
    frt::Canvas canvas(whole, window, true);
    paintOn(canvas, control, kind, hook, context);
    return;
  }
  if (control.handle() != nullptr) {
    std::unique_ptr<frt::Canvas> canvas(frt::Canvas::forWindow(control.handle()));
    if (canvas) paintOn(*canvas, control, kind, hook, context);
    return;
  }
  if (kind != PaintKind::SpeedButton || control.parent() == nullptr) return;
  HWND parentWindow = control.parent()->handle();
  if (message.msg == WM_PAINT && message.wParam != 0) {
    frt::Canvas canvas(reinterpret_cast<HDC>(message.wParam));
    paintSpeedButton(canvas, control, hook.state(), context);
  } else if (parentWindow) {
    std::unique_ptr<frt::Canvas> canvas(frt::Canvas::forWindow(parentWindow));
    if (canvas) paintSpeedButton(*canvas, control, hook.state(), context);
  }
}

}  // namespace skin
