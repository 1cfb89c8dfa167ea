// Showing or hiding a child lays the container out again through update.
#include "lib/Container.h"

Container::Container(const char* name) : Composite(name), spacing(2) {}

bool Container::onChildVisibility(Window*) {
  update();
  return false;
}
