// A line of static text; it tells its parent about clicks and can centre its text vertically.
// Made over the system "STATIC" class.
#pragma once

#include "lib/Control.h"

class Label : public Control {
 public:
  Label(const char* text, bool centred);

  const char* typeName() const override;
  void create() override;

  // Added operations, in the order of the virtual table.
  virtual void setText(const char* text);
  virtual int getText(char* buffer, int size);

 private:
  bool centred;
};
