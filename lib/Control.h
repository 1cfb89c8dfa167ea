// Base of the toolkit's single controls: a window bound to one system control that the toolkit
// subclasses; every control is made at (10, 10) with no size and placed later by its container.
#pragma once

#include "lib/Window.h"

class Control : public Window {
 public:
  explicit Control(const char* name) : Window(name) {}
};
