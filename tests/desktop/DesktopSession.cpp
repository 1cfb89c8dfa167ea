#include "tests/desktop/DesktopSession.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

const char* const DesktopSession::MainTitle = "Vornith 2 - Created by Morvash";
const char* const DesktopSession::Nick = "demo";
const char* const DesktopSession::Accented = u8"Gr\u00fc\u00dfe, Zo\u00eb: \u00e7a va?";

namespace {

const int kStartTimeoutMs = 15000;

bool writeFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path);
  out << text;
  return static_cast<bool>(out);
}

// The display number Xvfb writes to its -displayfd descriptor once it accepts clients.
std::string readDisplayNumber(int fd, int timeoutMs) {
  std::string number;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    char c = 0;
    if (read(fd, &c, 1) != 1) break;
    if (c == '\n') return number;
    number += c;
  }
  return std::string();
}

// A machine shared with other users may give this program its own display numbers:
// VORNITH_DESKTOP_DISPLAYS="73 74" limits the X servers to those display numbers; test
// processes run side by side each take one that is free. Without it (an empty list) the X
// server takes the first free number itself. A case may hold two servers at once, so give one
// number more than the cases run side by side.
std::vector<std::string> fixedDisplays() {
  const char* list = std::getenv("VORNITH_DESKTOP_DISPLAYS");
  std::vector<std::string> numbers;
  std::string number;
  for (const char* c = list != nullptr ? list : ""; ; ++c) {
    if (std::isdigit(static_cast<unsigned char>(*c))) {
      number += *c;
      continue;
    }
    if (!number.empty()) numbers.push_back(":" + number);
    number.clear();
    if (*c == '\0') break;
  }
  return numbers;
}

}  // namespace

DesktopSession::~DesktopSession() {
  vornith_.stop();
  input_.stopClipboard();
  server_.stop();
  windowManager_.stop();
  display_.close();
  xServer_.stop();
  std::error_code ignored;
  if (!folder_.empty()) fs::remove_all(folder_, ignored);
}

bool DesktopSession::fail(const std::string& reason) {
  why_ = reason;
  return false;
}

bool DesktopSession::waitFor(const std::function<bool()>& condition, int timeoutMs) {
  return pollUntil(condition, timeoutMs, 20);
}

bool DesktopSession::start(int dpi) {
  char pattern[] = "/tmp/vornith-desktop-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return fail("no temporary folder");
  folder_ = pattern;
  return startXServer(dpi) && startWindowManager() && copyProgram() && startProgram();
}

std::string DesktopSession::launchXServer(const std::string& display, int dpi) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return "";
  ChildOptions options;
  options.passFd = pipeFds[1];
  options.outputFile = folder_ + "/xvfb.log";
  std::vector<std::string> arguments = {"Xvfb", "-displayfd", "3", "-screen", "0",
                                       "1600x1000x24", "-dpi", std::to_string(dpi),
                                       "-nolisten", "tcp"};
  if (!display.empty()) arguments.insert(arguments.begin() + 1, display);
  bool started = xServer_.start(arguments, options);
  close(pipeFds[1]);
  std::string number = started ? readDisplayNumber(pipeFds[0], kStartTimeoutMs) : "";
  close(pipeFds[0]);
  if (number.empty()) xServer_.stop();
  return number;
}

bool DesktopSession::startXServer(int dpi) {
  std::vector<std::string> displays = fixedDisplays();
  if (displays.empty()) displays.push_back("");
  std::string number;
  // A number another test's server holds makes Xvfb end at once: the next one is tried.
  for (size_t i = 0; i < displays.size() && number.empty(); ++i) {
    if (!displays[i].empty() && fs::exists("/tmp/.X" + displays[i].substr(1) + "-lock")) continue;
    number = launchXServer(displays[i], dpi);
  }
  if (number.empty()) return fail("Xvfb did not start (scripts/setup installs xvfb)");
  std::string name = ":" + number;
  if (!display_.open(name)) return fail("cannot open the display " + name);
  if (!display_.bindCharacters(Accented)) return fail("no spare key codes on " + name);
  fs::create_directories(folder_ + "/runtime");
  chmod((folder_ + "/runtime").c_str(), 0700);
  environment_ = {"DISPLAY=" + name, "HOME=" + folder_, "XDG_CONFIG_HOME=" + folder_ + "/config",
                  "XDG_CACHE_HOME=" + folder_ + "/cache",
                  "XDG_RUNTIME_DIR=" + folder_ + "/runtime"};
  input_.setEnvironment(environment_);
  return true;
}

bool DesktopSession::startWindowManager() {
  ChildOptions options;
  options.environment = environment_;
  options.outputFile = folder_ + "/openbox.log";
  if (!windowManager_.start({"openbox"}, options)) return fail("openbox did not start");
  if (!waitFor([this] { return !display_.windowManager().empty(); }, kStartTimeoutMs))
    return fail("no window manager came up (scripts/setup installs openbox)");
  return true;
}

bool DesktopSession::copyProgram() {
  program_ = folder_ + "/program";
  fs::path from(VORNITH_PROGRAM_FOLDER);
  std::error_code error;
  fs::create_directories(program_, error);
  for (const char* item : {"vornith", "libvornplatform.so", "Plugins", "Events"})
    fs::copy(from / item, fs::path(program_) / item, fs::copy_options::recursive, error);
  if (error) return fail("cannot copy the program folder: " + error.message());
  return true;
}

bool DesktopSession::startProgram() {
  if (!server_.start()) return fail("chat server: " + server_.error());
  std::string port = std::to_string(server_.port());
  // The main window's place and size, and one client that logs in to the server.
  std::string hostSettings = "[System]\nPosX=40\nPosY=40\nSizeX=1000\nSizeY=700\n";
  std::string client = "[demo]\nServer0=127.0.0.1:" + port +
                       "\nAutoconnect=On\nRegExpr=nevchat.evt\nMain=NevChat\n" + clientSettings_;
  if (!writeFile(program_ + "/Vornith.ini", hostSettings + client) ||
      !writeFile(program_ + "/Plugs.ini", "[demo]\nNevChat Login=demo\n" + plugsSettings_))
    return fail("cannot write the settings files");
  ChildOptions options;
  options.environment = environment_;
  options.environment.push_back("QT_QPA_PLATFORM=xcb");
  options.workingFolder = program_;
  options.outputFile = folder_ + "/vornith.log";
  if (!vornith_.start({program_ + "/vornith"}, options)) return fail("vornith did not start");
  if (waitForWindow(MainTitle, kStartTimeoutMs) == 0) return fail("no main window appeared");
  if (!waitFor([this] { return server_.isLoggedIn(Nick); }, kStartTimeoutMs))
    return fail("the client did not log in");
  waitUntilStill(display_.screen(), 3000);
  return true;
}

MainLayout DesktopSession::main() {
  return MainLayout{display_.geometry(display_.findWindow(MainTitle))};
}

bool DesktopSession::waitUntilStill(const Rect& area, int timeoutMs, int stillMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  ScreenImage last = display_.grab(area);
  auto since = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ScreenImage now = display_.grab(area);
    if (now != last) {
      last = now;
      since = std::chrono::steady_clock::now();
    } else if (std::chrono::steady_clock::now() - since >= std::chrono::milliseconds(stillMs)) {
      return true;
    }
  }
  return false;
}

DesktopDisplay::WindowId DesktopSession::waitForWindow(const std::string& title, int timeoutMs) {
  DesktopDisplay::WindowId window = 0;
  waitFor([&] { return (window = display_.findWindow(title)) != 0; }, timeoutMs);
  return window;
}

std::vector<std::string> DesktopSession::received() { return server_.transcript(Nick); }

bool DesktopSession::typeLine(const std::string& text) {
  return input_.type(text) && input_.keys({"Return"});
}

bool DesktopSession::setClipboard(const std::string& text) {
  input_.stopClipboard();
  waitFor([this] { return !display_.clipboardHasOwner(); }, 2000);
  return input_.setClipboard(text) &&
         waitFor([this] { return display_.clipboardHasOwner(); }, 5000);
}

bool DesktopSession::chooseMenuItem(Point title, int item) {
  int before = display_.popupCount();
  if (!input_.click(title)) return false;
  if (!waitFor([&] { return display_.popupCount() > before; }, 3000)) return false;
  std::vector<std::string> keys(static_cast<size_t>(item), "Down");
  keys.push_back("Return");
  return input_.keys(keys);
}

bool DesktopSession::programEnded(int timeoutMs) { return vornith_.wait(timeoutMs); }

std::string DesktopSession::setting(const std::string& file, const std::string& section,
                                    const std::string& key) {
  std::ifstream in(program_ + "/" + file);
  std::string line;
  bool inSection = false;
  auto lower = [](std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
  };
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inSection = lower(line) == "[" + lower(section) + "]";
    } else if (inSection && lower(line.substr(0, line.find('='))) == lower(key)) {
      return line.substr(line.find('=') + 1);
    }
  }
  return std::string();
}

void DesktopSession::saveScreen(const std::string& path) {
  if (!display_.isOpen()) return;
  std::error_code ignored;
  fs::create_directories(fs::path(path).parent_path(), ignored);
  display_.grabScreen().savePng(path);
}
