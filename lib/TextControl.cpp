#include "lib/TextControl.h"

bool TextControl::controlHeld() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

bool TextControl::onChar(int code) {
  if (controlHeld()) return false;
  return code == '\r';  // Enter became onEnter on its key-down: no line break
}

bool TextControl::onKey(int key, bool down) {
  if (key != VK_RETURN || controlHeld()) return false;
  return down ? onEnter() : true;
}
