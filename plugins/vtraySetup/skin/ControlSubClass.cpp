#include "plugins/vtraySetup/skin/ControlSubClass.h"

#include "plugins/vtraySetup/rt/CheckBox.h"
#include "plugins/vtraySetup/rt/Fields.h"
#include "plugins/vtraySetup/rt/WinControl.h"
#include "plugins/vtraySetup/skin/ControlPainter.h"
#include "plugins/vtraySetup/skin/FlatSkin.h"
#include "plugins/vtraySetup/skin/KindPainter.h"

namespace skin {

ControlSubClass::ControlSubClass(FlatSkin* skin, frt::Control* control)
    : frt::Component(skin),
      skin_(skin),
      control_(control),
      previous_(control->windowProc),
      kind_(paintKindOf(*control)),
      savedCtl3D_(control->ctl3D),
      savedSingleBorder_(control->singleBorder),
      alive_(std::make_shared<bool>(true)) {
  if (auto* rich = dynamic_cast<frt::RichEdit*>(control)) savedBorderWidth_ = rich->borderWidth;
  control_->windowProc = [this](frt::Message& message) { handle(message); };
  // Flat frames replace the 3-D look of lists and edits from the first paint on.
  if (kind_ == PaintKind::ListFrame || kind_ == PaintKind::Edit) control_->ctl3D = false;
  // The control may go first (its owner frees it): then the hook just forgets it.
  std::weak_ptr<bool> alive = alive_;
  control_->freeNotices.push_back([this, alive](frt::Component*) {
    if (alive.expired()) return;
    hooked_ = false;
    control_ = nullptr;
  });
  control_->invalidate();
}

ControlSubClass::~ControlSubClass() { unhook(); }

void ControlSubClass::unhook() {
  if (!hooked_ || control_ == nullptr) return;
  hooked_ = false;
  control_->windowProc = previous_;
  control_->ctl3D = savedCtl3D_;
  control_->singleBorder = savedSingleBorder_;
  if (auto* rich = dynamic_cast<frt::RichEdit*>(control_)) rich->borderWidth = savedBorderWidth_;
  control_->invalidate();
}

void ControlSubClass::noteBefore(const frt::Message& m) {
  bool enabled = control_->enabled;
  switch (m.msg) {
    case WM_SETFOCUS: state_.hot = true; break;
    case WM_KILLFOCUS: state_.hot = false; break;
    case frt::CM_MOUSEENTER:
      mouseInside_ = true;
      if (enabled) state_.hot = true;
      break;
    case frt::CM_MOUSELEAVE:
      mouseInside_ = false;
      if (enabled) state_.hot = false;
      break;
    case frt::CM_EXIT:
    case BM_GETCHECK:
    case BM_SETCHECK: state_.hot = false; break;
    case frt::CM_ENABLEDCHANGED:
      if (m.wParam == 0) state_.hot = false;
      break;
    case WM_LBUTTONDOWN: state_.leftDown = true; break;
    case WM_LBUTTONUP: state_.leftDown = false; break;
    case WM_KEYDOWN:
      if (m.wParam == VK_SPACE) state_.spaceDown = true;
      break;
    case WM_KEYUP:
      if (m.wParam == VK_SPACE) state_.spaceDown = false;
      break;
    case WM_PAINT: recreationPending_ = false; break;
    default: break;
  }
}

bool ControlSubClass::isTrigger(const frt::Message& m) {
  switch (m.msg) {
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_PAINT: case BM_SETCHECK: case BM_SETSTATE:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case frt::CM_MOUSEENTER: case frt::CM_MOUSELEAVE:
    case frt::CM_ENABLEDCHANGED: case frt::CM_TEXTCHANGED:
      return true;
    case WM_KEYDOWN: case WM_KEYUP:
      return m.wParam == VK_SPACE;
    default:
      return false;
  }
}

void ControlSubClass::handle(frt::Message& message) {
  std::shared_ptr<bool> keep = alive_;  // the previous method may free this hook
  // A double click on a button or check box is one more press.
  bool pressable = kind_ == PaintKind::Button || kind_ == PaintKind::BitBtn ||
                   kind_ == PaintKind::SpeedButton || kind_ == PaintKind::CheckBox;
  if (message.msg == WM_LBUTTONDBLCLK && pressable) message.msg = WM_LBUTTONDOWN;
  noteBefore(message);
  bool graphicPaint = message.msg == WM_PAINT && control_->handle() == nullptr;
  // The skin alone paints a speed button and a lookup combo's frame.
  bool ownFrame = message.msg == WM_NCPAINT && kind_ == PaintKind::LookupCombo;
  if (!(graphicPaint && kind_ == PaintKind::SpeedButton) && !ownFrame) previous_(message);
  if (ownFrame && hooked_ && control_ != nullptr) {
    repaint(message);
    return;
  }
  if (!hooked_ || control_ == nullptr || !isTrigger(message)) return;
  repaint(message);
}

// The single border gives way to a border width of at least 2, round which the skin draws
// its one-colour frame.
void ControlSubClass::swapRichEditBorder() {
  auto* rich = dynamic_cast<frt::RichEdit*>(control_);
  if (rich == nullptr || !rich->singleBorder) return;
  rich->singleBorder = false;
  if (rich->borderWidth < 2) rich->borderWidth = 2;
}

void ControlSubClass::repaint(const frt::Message& message) {
  if (kind_ == PaintKind::RichEdit) swapRichEditBorder();
  // Switching the 3-D look off re-creates the window: the hook stays through that.
  if (kind_ == PaintKind::LookupCombo && control_->ctl3D) {
    recreationPending_ = true;
    control_->ctl3D = false;
  }
  frt::WinControl* windowed = dynamic_cast<frt::WinControl*>(control_);
  state_.focused = windowed != nullptr && windowed->focused();
  KindPainter::paint(*control_, kind_, *this, skin_->context(), message);
}

}  // namespace skin
