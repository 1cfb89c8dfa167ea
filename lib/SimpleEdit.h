// The plain-text input line: a multi-line rich-edit control in plain-text mode that empties
// itself when Enter is pressed (subclasses take the line first).
#pragma once

#include "lib/TextControl.h"

class SimpleEdit : public TextControl {
 public:
  explicit SimpleEdit(const char* name);

  const char* typeName() const override;
  void create() override;
  void setText(const char* text) override;
  int getTextLength() override;
  void setTextColour(COLORREF colour) override;
  void setBackgroundColour(COLORREF colour) override;
  bool onEnter() override;
};
