#include "tests/desktop/DesktopInput.h"

#include <cstdlib>

namespace {

const int kToolTimeoutMs = 10000;

}  // namespace

bool DesktopInput::xdotool(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  ChildOptions options;
  options.environment = environment_;
  return runTool(argv, options, kToolTimeoutMs) == 0;
}

bool DesktopInput::type(const std::string& text) {
  return xdotool({"type", "--delay", std::to_string(KeyDelayMs), "--", text});
}

bool DesktopInput::keys(const std::vector<std::string>& combinations) {
  std::vector<std::string> arguments{"key", "--delay", std::to_string(KeyDelayMs)};
  arguments.insert(arguments.end(), combinations.begin(), combinations.end());
  return xdotool(arguments);
}

bool DesktopInput::click(Point where, int button, int count) {
  return xdotool({"mousemove", std::to_string(where.x), std::to_string(where.y), "click",
                  "--repeat", std::to_string(count), "--delay", "80", std::to_string(button)});
}

bool DesktopInput::move(Point where) {
  return xdotool({"mousemove", std::to_string(where.x), std::to_string(where.y)});
}

bool DesktopInput::drag(const std::vector<Point>& path, const std::string& holding) {
  if (path.empty()) return false;
  std::vector<std::string> arguments;
  if (!holding.empty()) arguments.insert(arguments.end(), {"keydown", holding, "sleep", "0.1"});
  for (size_t i = 0; i < path.size(); ++i) {
    arguments.insert(arguments.end(), {"mousemove", std::to_string(path[i].x),
                                       std::to_string(path[i].y), "sleep", "0.1"});
    if (i == 0) arguments.insert(arguments.end(), {"mousedown", "1", "sleep", "0.1"});
  }
  arguments.insert(arguments.end(), {"mouseup", "1"});
  if (!holding.empty()) arguments.insert(arguments.end(), {"sleep", "0.5", "keyup", holding});
  return xdotool(arguments);
}

bool DesktopInput::wheel(Point where, int notches) {
  return xdotool({"mousemove", std::to_string(where.x), std::to_string(where.y), "click",
                  "--repeat", std::to_string(std::abs(notches)), "--delay", "10",
                  notches > 0 ? "4" : "5"});
}

bool DesktopInput::setClipboard(const std::string& text) {
  clipboard_.reset(new ChildProcess);
  ChildOptions options;
  options.environment = environment_;
  options.input = text;
  // -quiet keeps xclip in the foreground, in the group that stopClipboard() ends.
  return clipboard_->start({"xclip", "-selection", "clipboard", "-quiet"}, options);
}
