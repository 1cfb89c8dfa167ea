// A one-line edit of the setup pages in which Tab and Enter move the focus to a chosen next
// window instead of going into the text.
#pragma once

#include "lib/SimpleEdit.h"

class TabNotifyEdit : public SimpleEdit {
 public:
  explicit TabNotifyEdit(const char* name);

  // The window that gets the focus on Tab and Enter; null lets Tab into the text.
  void setNext(Window* window);
  bool onChar(int code) override;
  bool onKey(int key, bool down) override;
  // Enter is always taken, and never empties the edit.
  bool onEnter() override;

 private:
  Window* next = nullptr;
};
