// The test's own connection to a session's X server: finds the program's windows by title, reads
// what the window manager says about them, and grabs the pixels a person would see.
#pragma once

#include <string>
#include <vector>

#include "tests/desktop/ScreenImage.h"

struct _XDisplay;

class DesktopDisplay {
 public:
  using WindowId = unsigned long;

  DesktopDisplay() = default;
  ~DesktopDisplay() { close(); }
  DesktopDisplay(const DesktopDisplay&) = delete;
  DesktopDisplay& operator=(const DesktopDisplay&) = delete;

  bool open(const std::string& name);
  void close();
  bool isOpen() const { return display_ != nullptr; }

  // The window manager's name once one runs (its check window names it), else empty.
  std::string windowManager();
  // A mapped window titled exactly so, the top-level ones and those inside frames; 0 when none.
  WindowId findWindow(const std::string& title);
  std::string titleOf(WindowId window);
  Rect geometry(WindowId window);  // its inside, in screen coordinates
  // What the window manager added around it: left, right, top, bottom; empty when it says nothing.
  std::vector<long> frameExtents(WindowId window);
  std::vector<std::string> allowedActions(WindowId window);
  // The first picture of the icon the program gave the window manager (_NET_WM_ICON), its
  // transparent pixels black; empty when the window has none.
  ScreenImage windowIcon(WindowId window);
  WindowId activeWindow();
  // The window manager's state of a top-level window: 1 normal, 3 minimised, 0 or -1 (no state)
  // when it is withdrawn: hidden by the program.
  long windowState(WindowId window);
  // Mapped windows on the screen that bypass the window manager: open menus and other pop-ups
  // (the window manager's own 1 x 1 check window is no such).
  int popupCount();
  bool clipboardHasOwner();
  // Gives every character of the UTF-8 text that no key types yet a spare key code of its own,
  // before the program reads the keymap: typing it then needs no remapping on the fly, which a
  // busy program can read after it was undone.
  bool bindCharacters(const std::string& utf8);

  Rect screen();
  ScreenImage grab(const Rect& area);
  ScreenImage grabScreen() { return grab(screen()); }

 private:
  unsigned long atom(const char* name);
  std::vector<unsigned long> property(WindowId window, const char* name, unsigned long type);
  WindowId findBelow(WindowId parent, const std::string& title, int depth);
  bool viewable(WindowId window);

  _XDisplay* display_ = nullptr;
};
