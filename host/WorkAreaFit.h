// Fits a window's place read from a settings file onto the screen's work area, so a damaged or
// outdated value can neither hide the window nor ask for a window of absurd size.
#pragma once

// The smallest size a fitted window keeps (less when the work area itself is smaller).
enum { MinFittedWidth = 200, MinFittedHeight = 150 };

// Size first (at least the minimum, at most the work area), then the position so the whole
// window lies inside the work area.
void fitToWorkArea(int& left, int& top, int& width, int& height);
