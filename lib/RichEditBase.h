// Common base of the rich edits: a rich-edit control with a caller's option value and paging.
// What text goes in and how it looks is left to each kind of rich edit.
#pragma once

#include "lib/EditBase.h"

class RichEditBase : public EditBase {
 public:
  explicit RichEditBase(const char* name);

  int getTextLength() override;

  // Added operations, in the order of the virtual table.
  // A value kept for the owner; the toolkit itself does not read it.
  virtual void setOption(int value);
  virtual int getOption();
  virtual void pageUp();
  virtual void pageDown();

 protected:
  int option;
};
