// Common base of the toolkit's edits (plain and rich): clearing, read-only state and colours.
// The text operations are left to each kind of edit.
#pragma once

#include "lib/Control.h"

class EditBase : public Control {
 public:
  EditBase(const char* name, bool rich);

  // Added operations, in the order of the virtual table.
  virtual void clear();
  virtual void setReadOnly(bool on);
  virtual bool isReadOnly();
  virtual int getText(char* buffer, int size);
  virtual void setText(const char* text) = 0;
  virtual int getTextLength() = 0;
  virtual bool isRich();
  virtual void setTextColour(COLORREF colour) = 0;
  virtual void setBackgroundColour(COLORREF colour) = 0;
  virtual COLORREF getTextColour();
  virtual COLORREF getBackgroundColour();

 protected:
  COLORREF textColour;
  COLORREF backgroundColour;
  unsigned char readOnly;
  unsigned char rich;
};
