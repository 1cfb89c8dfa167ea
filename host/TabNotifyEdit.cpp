#include "host/TabNotifyEdit.h"

TabNotifyEdit::TabNotifyEdit(const char* name) : SimpleEdit(name) {}

void TabNotifyEdit::setNext(Window* window) { next = window; }

bool TabNotifyEdit::onChar(int code) {
  if (code == '\t' && next != nullptr) {
    next->setFocus();
    return true;
  }
  return SimpleEdit::onChar(code);
}

bool TabNotifyEdit::onKey(int key, bool down) {
  // The key itself is kept from the control too: its character moves the focus.
  if (key == VK_TAB && next != nullptr) return true;
  return SimpleEdit::onKey(key, down);
}

bool TabNotifyEdit::onEnter() {
  if (next != nullptr) next->setFocus();
  return true;
}
