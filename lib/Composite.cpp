// Children are kept in the order they were created; each one unlinks itself when it detaches.
#include "lib/Composite.h"

#include "lib/RootWindow.h"

Composite::Composite(const char* name)
    : Window(name), firstChild(nullptr), lastChild(nullptr), resizeLocked(0) {}

Composite::~Composite() {
  // The subclass parts are gone already, so the children must not report back to this
  // object: cut them loose first. Their platform windows go with this one's.
  Window* child = firstChild;
  while (child) {
    Window* next = child->nextWindow;
    child->parent = nullptr;
    child->nextWindow = nullptr;
    child->previousWindow = nullptr;
    child = next;
  }
  firstChild = nullptr;
  lastChild = nullptr;
}

HWND Composite::getHwnd() {
  if (hwnd) return hwnd;
  return parent ? parent->getHwnd() : nullptr;
}

bool Composite::onDestroy() {
  destroyChildren();
  return Window::onDestroy();
}

bool Composite::onChar(int) {
  if (firstChild) firstChild->setFocus();
  return false;
}

bool Composite::onKey(int, bool) {
  if (firstChild) firstChild->setFocus();
  return false;
}

void Composite::create() {
  HWND parentHandle = parent ? parent->getHwnd() : nullptr;
  hwnd = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOTIFY, 10, 10, 0,
                         0, parentHandle, nullptr, getModuleInstance(), nullptr);
}

bool Composite::onChildVisibility(Window*) { return false; }

void Composite::destroyChildren() {
  Window* child = firstChild;
  while (child) {
    Window* next = child->nextSibling();
    child->destroy();
    child = next;
  }
  firstChild = nullptr;
  lastChild = nullptr;
}

Window* Composite::findChild(HWND handle) {
  for (Window* child = firstChild; child; child = child->nextSibling()) {
    if (child->getHwnd() == handle) return child;
  }
  return nullptr;
}

Window* Composite::childAt(int index) {
  Window* child = firstChild;
  for (int i = 0; child && i < index; ++i) child = child->nextSibling();
  return index < 0 ? nullptr : child;
}

int Composite::indexOf(Window* child) {
  int index = 0;
  for (Window* current = firstChild; current; current = current->nextSibling(), ++index) {
    if (current == child) return index;
  }
  return -1;
}
