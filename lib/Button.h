// Push buttons and check boxes over the system "button" class; a click calls onClick and still
// lets the parent see the notification.
#pragma once

#include "lib/Control.h"

class Button : public Control {
 public:
  Button(const char* name, DWORD style) : Control(name), buttonStyle(style) {}

  bool onMessage(const MSG& message) override;
  void create() override;

  // Added operations, in the order of the virtual table.
  virtual void onClick();
  // A null text shows the button's name.
  virtual void setText(const char* text);
  virtual int getText(char* buffer, int size);

 protected:
  DWORD buttonStyle;
};

class PushButton : public Button {
 public:
  explicit PushButton(const char* text);
  const char* typeName() const override;
};

class CheckBoxButton : public Button {
 public:
  explicit CheckBoxButton(const char* text);
  const char* typeName() const override;

  virtual bool isChecked();
  virtual void setChecked(bool on);
  // Shows the state isChecked reports (a subclass may read it from a setting).
  virtual void refreshCheck();
};
