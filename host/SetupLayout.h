// Layout containers of the host's setup windows whose gaps the user cannot drag: the pages
// keep the proportions they were built with.
#pragma once

#include "lib/CompassContainer.h"
#include "lib/Line.h"
#include "platform/win32.h"

// A top-level window's client size as the platform has it: its first size message comes
// before the toolkit knows the window, so a layout built at creation starts from this.
void takeClientSize(HWND window, int& width, int& height);

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
