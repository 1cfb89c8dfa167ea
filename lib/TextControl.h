// An edit whose Enter key becomes onEnter instead of a line break; Ctrl+Enter is left to the
// control, which inserts the line break.
#pragma once

#include "lib/EditBase.h"

class TextControl : public EditBase {
 public:
  explicit TextControl(const char* name) : EditBase(name, false) {}

  bool onChar(int code) override;
  bool onKey(int key, bool down) override;

  // Added operation, in the order of the virtual table: Enter was pressed.
  virtual bool onEnter() = 0;

 protected:
  static bool controlHeld();
};
