// A person's keyboard and mouse on a session's X server: X input events (XTEST) sent through
// xdotool, and the clipboard filled by xclip as another program would fill it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/desktop/ChildProcess.h"
#include "tests/desktop/ScreenImage.h"

class DesktopInput {
 public:
  static const int KeyDelayMs = 20;

  void setEnvironment(const std::vector<std::string>& environment) { environment_ = environment; }

  // Types text key by key, KeyDelayMs apart (Shift pressed for capitals, as a person does).
  bool type(const std::string& text);
  // Presses key combinations in turn, such as "ctrl+v", "shift+Insert", "Return".
  bool keys(const std::vector<std::string>& combinations);
  bool click(Point where, int button = 1, int count = 1);
  bool move(Point where);
  // Presses the left button at the path's first point, moves through the others holding it
  // and lets it go at the last; with a key named, that key is held from before the press to
  // after the release.
  bool drag(const std::vector<Point>& path, const std::string& holding = "");
  // Turns the wheel over a point: notches away from the user (up) when positive.
  bool wheel(Point where, int notches);
  // Puts text on the CLIPBOARD selection; xclip serves it until replaced or stopped.
  bool setClipboard(const std::string& text);
  void stopClipboard() { clipboard_.reset(); }

 private:
  bool xdotool(const std::vector<std::string>& arguments);

  std::vector<std::string> environment_;
  std::unique_ptr<ChildProcess> clipboard_;
};
