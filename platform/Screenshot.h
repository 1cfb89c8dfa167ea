// Pictures of what a person would see: one window as shown, or every visible top-level window
// at its place on the screen, and the headless screenshot the program takes when asked to.
//
// The program's environment asks for it:
//   VORNITH_SCREENSHOT        a PNG file to write; when set, the GUI thread's first GetMessageA
//                             arms a timer that saves the screen there, then posts WM_QUIT
//                             (exit code 0, or 1 when the file could not be written).
//   VORNITH_SCREENSHOT_DELAY  the timer's delay in milliseconds (default 3000).
#pragma once

#include <QImage>
#include <string>

#include "platform/win32_window.h"

// Exported so that the layer's own tests can reach these internals.
#pragma GCC visibility push(default)
namespace vornplatform {

// The window as shown with its children (a top-level window with its menu bar); a null image
// for a dead window.
QImage grabWindowImage(HWND hwnd);

// Every visible, not minimised top-level window drawn at its screen position (later windows
// over earlier ones, the active one on top) on white, cut to the box holding them all. A null
// image when no window is visible.
QImage composeScreen();
bool saveScreenPng(const std::string& path);

struct ScreenshotRequest {
  std::string path;  // empty: no screenshot
  int delayMs = 3000;
};
// The request the two variables' values make (either may be null); a delay that is not a
// whole number of milliseconds >= 0 keeps the default.
ScreenshotRequest screenshotRequestFrom(const char* path, const char* delay);
// On the GUI thread: after the delay, saves the screen and posts WM_QUIT to this thread.
void armScreenshot(const ScreenshotRequest& request);
// Arms the environment's request the first time it is called on the GUI thread; later calls
// do nothing.
void armScreenshotFromEnvironment();

}  // namespace vornplatform
#pragma GCC visibility pop
