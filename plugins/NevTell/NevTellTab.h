// One tell partner's page: a host system tab titled with the nick, holding the conversation
// (a styled output with links, pictures, a menu and dropped files) above an input line whose
// lines go to the partner as tells.
#pragma once

#include <string>
#include <vector>

#include "lib/String.h"
#include "platform/win32.h"
#include "plugins/NevStyle/StyledOutputWindow.h"

class CompassContainer;
class ExistWindow;
class NevTellInputWindow;
class NevTellSession;
class Window;

class NevTellTab : public OutputWindowOwner {
 public:
  // Output menu command ids.
  enum { CloseItem = 0, CopyItem = 1, PasteItem = 2, BeepItem = 3, KickItem = 4,
         SendFileItem = 5, WhiteBoardItem = 6 };

  NevTellTab(NevTellSession* session, const char* nick);
  virtual ~NevTellTab();
  NevTellTab(const NevTellTab&) = delete;
  NevTellTab& operator=(const NevTellTab&) = delete;

  // Adds the system tab and builds the windows in it; false when the host gave no tab.
  bool create();
  // Removes the system tab and deletes the windows (also done by the destructor).
  void destroy();

  const char* getNick() const { return nick.text(); }
  HWND getTabHandle() const { return tab; }
  StyledOutputWindow* getOutput() const { return output; }
  NevTellInputWindow* getInput() const { return input; }

  void setTitleAway() { setTitle(" (Away)"); }
  void setTitleGone() { setTitle(" (Gone)"); }
  void setTitleQuit() { setTitle(" (Quit)"); }
  void setTitlePlain() { setTitle(""); }
  bool isSelected();
  void printOwnTell(const char* time, const char* text, bool isNew);
  void printTell(const char* time, const char* text);
  void printSystemLine(const char* time, const char* text, bool select, bool highlight);
  void applyInputFont();
  void applyOutputBackground();
  void applyInputBackground();

  // What the input line entered: tells to the partner, '/' commands.
  void sendLine(const char* text);
  void runCommand(const char* command);
  // A window of the tab is inside a loop of its own (the pop-up menu): not to be deleted now.
  bool isBusy() const;

  void onOutputMenu(Menu& menu) override;
  void onOutputCommand(int id) override;
  void onFilesDropped(const std::vector<std::string>& paths) override;

  NevTellTab* sameHash = nullptr;  // the next tab whose nick has the same hash (TellTabMap)

 private:
  void setTitle(const char* suffix);
  void printTime(const char* time);
  void printSaid(const char* who, const char* text, const char* colour);
  void sendTell(const char* text);
  void enablePlugItems(Menu& menu);
  void watchKeys(Window* window);
  static bool windowHook(Window* window, const MSG& message);
  bool onKeyDown(int key);
  void onCharTyped(Window* window);

  NevTellSession* session;
  String nick;
  String scratch;  // title and emote text
  HWND tab = nullptr;
  ExistWindow* tabWindow = nullptr;
  CompassContainer* container = nullptr;
  StyledOutputWindow* output = nullptr;
  NevTellInputWindow* input = nullptr;
};
