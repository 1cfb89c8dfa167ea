#include "host/NotifyButton.h"

NotifyButton::NotifyButton(const char* caption, int id) : PushButton(caption), id(id) {}

void NotifyButton::setListener(ButtonListener* newListener) { listener = newListener; }

void NotifyButton::onClick() {
  if (listener != nullptr) listener->onButton(id);
}
