#include "lib/WindowContainer.h"

WindowContainer::WindowContainer(const char* name) : Composite(name) {}

bool WindowContainer::onMessage(const MSG& message) {
  if (message.hwnd != hwnd) return false;
  return Composite::onMessage(message);
}

bool WindowContainer::onSize(int type, int width, int height) {
  if (firstChild) firstChild->move(0, 0, width, height);
  sizeType = type;
  return true;
}

void WindowContainer::onChildRemoved(Window*) {}

void WindowContainer::setClient(Window* window) {
  if (firstChild) firstChild->destroy();
  if (!window) return;
  window->createIn(this);
  window->move(0, 0, clientWidth, clientHeight);
}
