#include "plugins/vtraySetup/rt/CheckBox.h"

namespace frt {

namespace {
const int kBoxSize = 13;
}

CheckBox::CheckBox(Component* owner, WinControl* parent) : WinControl(owner, parent) {
  tabStop = true;
}

void CheckBox::toggle() {
  setChecked(state_ != BST_CHECKED);
  HWND owner = parent() ? parent()->handle() : nullptr;
  if (owner && handle())
    SendMessageA(owner, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(handle()));
}

void CheckBox::defaultHandler(Message& message) {
  switch (message.msg) {
    case BM_GETCHECK:
      message.result = state_;
      return;
    case BM_SETCHECK:
      state_ = message.wParam <= BST_INDETERMINATE ? static_cast<int>(message.wParam) : BST_UNCHECKED;
      invalidate();
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // the second press of a double click presses too
      pressed_ = true;
      SetCapture(handle());
      break;
    case WM_LBUTTONUP: {
      if (!pressed_) break;
      pressed_ = false;
      ReleaseCapture();
      POINT at{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
      RECT area = clientRect();
      if (PtInRect(&area, at)) toggle();
      break;
    }
    case WM_KEYUP:
      if (message.wParam == VK_SPACE) toggle();
      break;
    default:
      break;
  }
  WinControl::defaultHandler(message);
}

void CheckBox::paint(Canvas& canvas) {
  canvas.fillRect(clientRect(), color);
  int boxLeft = alignRight != rightToLeft ? 0 : width - kBoxSize;
  int boxTop = (height - kBoxSize) / 2;
  RECT box{boxLeft, boxTop, boxLeft + kBoxSize, boxTop + kBoxSize};
  canvas.fillRect(box, enabled ? clWindow : clBtnFace);
  canvas.frameRect(box, clBtnShadow);
  if (state_ != BST_UNCHECKED) {
    canvas.setPen(state_ == BST_CHECKED ? clWindowText : clBtnShadow);
    for (int i = 0; i < 3; ++i) {
      canvas.line(box.left + 3, box.top + 5 + i, box.left + 5, box.top + 7 + i);
      canvas.lineTo(box.left + 10, box.top + 2 + i);
    }
  }
  canvas.setFont(font);
  if (!enabled) canvas.setTextColor(clBtnShadow);
  canvas.setTransparentText();
  RECT text = clientRect();
  if (alignRight != rightToLeft) text.left = kBoxSize + 4; else text.right = width - kBoxSize - 4;
  canvas.drawText(caption, &text, DT_SINGLELINE | DT_VCENTER | (alignRight != rightToLeft ? DT_LEFT : DT_RIGHT));
}

}  // namespace frt
