// Layout containers of the host's setup windows whose gaps the user cannot drag: the pages
// keep the proportions they were built with.
#pragma once

#include "lib/CompassContainer.h"
#include "lib/Line.h"

class SetupLine : public Line {
 public:
  SetupLine(const char* name, bool stacked) : Line(name, stacked) { resizeLocked = 1; }
};

class SetupCompass : public CompassContainer {
 public:
  SetupCompass(const char* name, bool autoCollapse) : CompassContainer(name, autoCollapse) {
    resizeLocked = 1;
  }
};
