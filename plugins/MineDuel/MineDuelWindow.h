// The game's page in its system tab: the grid (drawn by the grid library in a frame at the top
// left) and beside it the score panel and help pane above the players' chat, with the input
// line below. It takes the grid's clicks and leave request, and the players' lines and commands.
#pragma once

#include <string>

#include "lib/CompassContainer.h"
#include "lib/ExistWindow.h"
#include "lib/Line.h"
#include "plugins/MineDuel/MineDuelTexts.h"
#include "plugins/NevStyle/StyledOutputWindow.h"

class MineDuelInput;
class MineDuelSession;

class MineDuelWindow : public ExistWindow {
 public:
  // What the grid library posts to the window it was given: wParam a column (negative: leave),
  // lParam a row.
  enum { GridMessage = 26310 };
  enum { CloseItem = 0, CopyItem = 1, PasteItem = 2, BeepItem = 3 };
  // The panes keep at least this width whatever the grid's size; the grid's frame clips it.
  enum { MinPanesWidth = 240, GridGap = 4 };

  MineDuelWindow(MineDuelSession* session, const char* nick, HWND tab);
  ~MineDuelWindow() override;
  MineDuelWindow(const MineDuelWindow&) = delete;
  MineDuelWindow& operator=(const MineDuelWindow&) = delete;

  bool onMessage(const MSG& message) override;
  bool onSize(int type, int width, int height) override;
  // The window the grid library draws in (sized to the room left of the panes until the
  // grid is there); it hands the library's messages to the tab.
  HWND getGridFrame() const { return gridFrame; }
  // Fits the frame to the grid the library made in it and lays the panes out to its right.
  void placeBesideGrid();

  void updateScore(int myScore, int adversaryScore, int turn, int over, int mines);
  void showOwnLine(const char* text);
  void showPartnerLine(const char* text);
  void showSystemLine(const char* text, bool highlight);
  void focusInput();
  bool isTabSelected();

  // What the input line entered: lines to the partner, '/' commands.
  void sendLine(const char* text);
  void runCommand(const char* command);
  void printTable(const HelpLine* table);
  void onPaneCommand(StyledOutputWindow* pane, int id);
  // A pane's menu is running its own loop: the window must not go now.
  bool isBusy() const;

  StyledOutputWindow* getScore() const { return score; }
  StyledOutputWindow* getChat() const { return chat; }
  StyledOutputWindow* getHelp() const { return help; }
  MineDuelInput* getInput() const { return input; }

 private:
  class PaneMenu;

  StyledOutputWindow* makePane(const char* name);
  void showSaid(const std::string& who, const char* text, const char* nickColour);
  void watchKeys(Window* window);
  static bool keyHook(Window* window, const MSG& message);
  bool onKeyDown(int key);
  void createGridFrame();
  static LRESULT CALLBACK gridFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  MineDuelSession* session;
  std::string nick;
  HWND tab;
  HWND gridFrame = nullptr;
  bool gridMeasured = false;
  int gridWidth = 0;
  int gridHeight = 0;
  CompassContainer* container = nullptr;
  Line* nevLine = nullptr;
  Line* scoreHelpLine = nullptr;
  MineDuelInput* input = nullptr;
  StyledOutputWindow* score = nullptr;
  StyledOutputWindow* chat = nullptr;
  StyledOutputWindow* help = nullptr;
  PaneMenu* menus[3] = {};
};
