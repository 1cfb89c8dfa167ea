// The game add-in's session of one client: challenges, answers, the shared seed, moves and
// chat with the partner travel as private data lines; the running game shows in a system tab.
#pragma once

#include <memory>
#include <string>

#include "plugins/MineDuel/MineDuelBoard.h"
#include "plugins/MineDuel/MineDuelSetupPage.h"
#include "plugins/NevStyle/DeferredCalls.h"
#include "plugins/NevStyle/EmoticonPictures.h"
#include "sdk/PlugsAddinSession.h"

class MineDuelWindow;

class MineDuelSession : public PlugsAddinSession, public MineDuelBoardOwner {
 public:
  enum { ProtocolVersion = 1, GameSide = 16, GameMines = 50 };
  static const char kNoGridLine[];

  // The board draws with the grid library unless a grid is given.
  explicit MineDuelSession(const char* clientName, std::unique_ptr<GridApi> grid = nullptr);
  ~MineDuelSession() override;
  MineDuelSession(const MineDuelSession&) = delete;
  MineDuelSession& operator=(const MineDuelSession&) = delete;

  void init() override;
  void term() override;
  bool hasSetupWindow() override { return true; }
  void createSetupWindow(HWND parent) override { setupPage.create(parent); }
  void writeSetup() override { setupPage.writeSetup(); }
  void reloadSetup() override { setupPage.reloadSetup(); }
  void onSetupOpen() override { setupPage.onSetupOpen(); }
  void onSetupClose() override { setupPage.onSetupClose(); }
  int getBackupSizeNeeded() override { return 4; }
  void backup(void* buffer, int size) override;
  void restore(void*, int) override {}
  void onUserEvent(const char* fromPlug, const char* type, void* data) override;
  int onRequest(const char*, char*, int, const char*, void*) override { return -1; }
  void onSystemEvent(int id, EventData* data) override;
  bool onEvent(int lineNo, const char* eventName, EventData* data, bool interceptedSoFar) override;

  // The session's own operations, in the order of the virtual table.
  virtual void handleRequest(const char* nick, const char* rest, const char* time);
  virtual void handleAck(const char* nick, const char* rest, const char* time);
  virtual void startGame(const char* nick, int width, int height, int mines);
  // Ends the game locally; the tab goes once the handler that asked has returned.
  virtual void endGame();
  void updateScore(int myScore, int adversaryScore, int turn, int over) override;
  virtual std::string getMyNick();

  void sendMove(int x, int y) override;
  // A local click (column >= 0) or the grid's request to leave (column < 0) in window; one
  // still queued for a game that has ended is dropped.
  void onGridMessage(MineDuelWindow* window, int column, int row);

  MineDuelBoard& getBoard() { return board; }
  MineDuelWindow* getGameWindow() const { return gameWindow; }
  HWND getGameTab() const { return gameTab; }
  const std::string& getPartner() const { return partner; }
  const std::string& getRequestedTo() const { return requestedTo; }
  const std::string& getRequestedBy() const { return requestedBy; }
  const EmoticonPictures& pictures() const { return bitmaps; }
  // Runs the deletions of ended games now (tests; the message loop does it otherwise).
  void runDeferred() { deferred.runPending(); }

 private:
  void show(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void sendRequestTo(const std::string& nick, const char* message);
  void sendAck(const char* nick, const char* answer);
  void leaveGame();
  void onStart(const char* nick);
  void onAccept();
  void onDeny();
  void onCancel();
  void onStartRequest(const char* nick, const char* rest);
  void onInitRequest(const char* nick, const char* rest);
  void onOk(const char* nick);
  bool onBeepEvent(const EventData& data, bool highlight);
  void disposeWindow(MineDuelWindow* window, HWND tab);

  MineDuelSetupPage setupPage;
  MineDuelBoard board;
  std::string requestedTo;
  std::string requestedBy;
  std::string partner;
  HWND gameTab = nullptr;
  MineDuelWindow* gameWindow = nullptr;
  EmoticonPictures bitmaps;
  DeferredCalls deferred;
};
