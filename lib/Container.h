// A composite that lays its children out again whenever one of them is shown or hidden.
// Subclasses do the layout in update and keep their gap between children in spacing.
#pragma once

#include "lib/Composite.h"

class Container : public Composite {
 public:
  explicit Container(const char* name);

  bool onChildVisibility(Window* child) override;

 protected:
  // Pixels between laid-out children.
  int spacing;
};
