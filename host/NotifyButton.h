// A push button of the setup pages that reports its click, by the id it was made with, to a
// button listener.
#pragma once

#include "host/ButtonListener.h"
#include "lib/Button.h"

class NotifyButton : public PushButton {
 public:
  NotifyButton(const char* caption, int id);

  void setListener(ButtonListener* listener);
  int getId() const { return id; }
  void onClick() override;

 private:
  ButtonListener* listener = nullptr;
  int id;
};
