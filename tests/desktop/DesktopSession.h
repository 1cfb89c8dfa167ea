// One copy of the program on a desktop of its own, for one test case: an X server, a window
// manager, the chat server and a copy of the program folder, all ended with the object.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/desktop/ChildProcess.h"
#include "tests/desktop/DesktopDisplay.h"
#include "tests/desktop/DesktopInput.h"
#include "tests/desktop/ScreenLayout.h"
#include "outside/chatserver/ChatServer.h"

class DesktopSession {
 public:
  static const char* const MainTitle;
  static const char* const Nick;  // the client's name and its login
  // Non-ASCII text the cases type: its letters get keys of their own before the program starts.
  static const char* const Accented;

  DesktopSession() = default;
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  // More lines for the client's section of Vornith.ini and of Plugs.ini, given before start.
  void addClientSettings(const std::string& hostLines, const std::string& plugsLines) {
    clientSettings_ += hostLines;
    plugsSettings_ += plugsLines;
  }

  // Starts everything and waits until the client is logged in and the screen is still; false
  // with the reason in why() when something does not come up in time.
  // dpi: the resolution the X server reports.
  bool start(int dpi = 96);
  const std::string& why() const { return why_; }

  ChatServer& server() { return server_; }
  DesktopDisplay& display() { return display_; }
  DesktopInput& input() { return input_; }
  // DISPLAY and the rest of what the program runs with, for more programs on its desktop.
  const std::vector<std::string>& environment() const { return environment_; }
  // The copy of the program folder the program runs in.
  const std::string& programFolder() const { return program_; }
  MainLayout main();

  // Polls condition every 20 ms until it holds or timeoutMs passed.
  static bool waitFor(const std::function<bool()>& condition, int timeoutMs);
  // Waits until the area's pixels stayed the same for stillMs.
  bool waitUntilStill(const Rect& area, int timeoutMs, int stillMs = 300);
  DesktopDisplay::WindowId waitForWindow(const std::string& title, int timeoutMs = 5000);

  // The lines the server received from the client, its login first.
  std::vector<std::string> received();

  // Types text and Enter.
  bool typeLine(const std::string& text);
  // Puts text on the clipboard and waits until it is offered there.
  bool setClipboard(const std::string& text);
  // Opens the menu whose title is at title and chooses its item number item (from 1) with the
  // arrow keys and Enter.
  bool chooseMenuItem(Point title, int item);

  bool programEnded(int timeoutMs);
  // A value of the copy's Vornith.ini or Plugs.ini; empty when missing.
  std::string setting(const std::string& file, const std::string& section, const std::string& key);
  void saveScreen(const std::string& path);

 private:
  bool fail(const std::string& reason);
  bool startXServer(int dpi);
  // Xvfb on the display given (empty: the first free one); its number, or "" when it failed.
  std::string launchXServer(const std::string& display, int dpi);
  bool startWindowManager();
  bool copyProgram();
  bool startProgram();

  std::string why_;
  std::string clientSettings_;
  std::string plugsSettings_;
  std::string folder_;
  std::string program_;
  std::vector<std::string> environment_;
  ChildProcess xServer_;
  DesktopDisplay display_;
  ChildProcess windowManager_;
  ChatServer server_;
  DesktopInput input_;
  ChildProcess vornith_;
};
