#include "plugins/MineDuel/MineDuelSession.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "plugins/MineDuel/MineDuelWindow.h"
#include "sdk/PlugsModule.h"

namespace {

const float kVersion = 0.86f;
const char kNoGames[] = "MineDuel - No games available...\n";

bool isEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

}  // namespace

const char MineDuelSession::kNoGridLine[] =
    "MineDuel - The grid library is missing: no game can be played.\n";

MineDuelSession::MineDuelSession(const char* clientName, std::unique_ptr<GridApi> grid)
    : PlugsAddinSession(clientName), board(std::move(grid)) {
  setupPage.setSession(this);
}

MineDuelSession::~MineDuelSession() {
  endGame();
  deferred.runPending();
}

void MineDuelSession::init() {
  setupPage.reloadSetup();
  requestedTo.clear();
  requestedBy.clear();
  partner.clear();
  bitmaps.load(plugsModuleInstance());
}

// Called by the host, never from a game window's handler: the window goes at once.
void MineDuelSession::term() {
  bitmaps.release();
  endGame();
  deferred.runPending();
  setupPage.writeSetup();
}

void MineDuelSession::backup(void* buffer, int size) {
  if (buffer != nullptr && size == 4) std::memcpy(buffer, &kVersion, 4);
}

void MineDuelSession::show(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  sendEvent("@", "sysout", text);
}

void MineDuelSession::sendRequestTo(const std::string& nick, const char* message) {
  sendData("senddata %s VREQ MINEDUEL %s\n", nick.c_str(), message);
}

void MineDuelSession::sendAck(const char* nick, const char* answer) {
  sendData("senddata %s VACK MINEDUEL %s\n", nick, answer);
}

void MineDuelSession::sendMove(int x, int y) {
  sendData("senddata %s VREQ MINEDUEL PLAY %i %i\n", partner.c_str(), x, y);
}

std::string MineDuelSession::getMyNick() {
  char login[32] = "";
  if (sendRequest("@", login, sizeof login, "login", nullptr) == -1) return "You";
  login[sizeof login - 1] = '\0';
  return login;
}

void MineDuelSession::onUserEvent(const char*, const char* type, void* data) {
  if (type == nullptr) return;
  if (std::strcmp(type, "start") == 0) {
    onStart(static_cast<const char*>(data));
  } else if (std::strcmp(type, "accept") == 0) {
    onAccept();
  } else if (std::strcmp(type, "deny") == 0) {
    onDeny();
  } else if (std::strcmp(type, "cancel") == 0) {
    onCancel();
  } else if (std::strcmp(type, "stop") == 0) {
    leaveGame();
  } else if (std::strcmp(type, "forcereset") == 0) {
    leaveGame();
    requestedBy.clear();
    requestedTo.clear();
  }
}

void MineDuelSession::leaveGame() {
  if (board.isPlaying()) sendRequestTo(partner, "STOP");
  endGame();
}

void MineDuelSession::onStart(const char* nick) {
  if (isEmpty(nick)) return;
  if (!partner.empty()) {
    show("MineDuel - You are already playing with %s.\n", partner.c_str());
    return;
  }
  if (!board.isUsable()) {
    show("%s", kNoGridLine);
    return;
  }
  if (!requestedBy.empty()) show("MineDuel - Games with %s canceled.\n", requestedBy.c_str());
  requestedBy.clear();
  if (!requestedTo.empty()) show("MineDuel - Games with %s canceled.\n", requestedTo.c_str());
  requestedTo = nick;
  show("MineDuel - Game request sent to %s\n", nick);
  sendData("senddata %s VREQ MINEDUEL START %i\n", nick, static_cast<int>(ProtocolVersion));
}

void MineDuelSession::onAccept() {
  if (requestedBy.empty()) {
    show(kNoGames);
    return;
  }
  show("MineDuel - Games accepted with %s.\n", requestedBy.c_str());
  sendAck(requestedBy.c_str(), "OK");
  partner = requestedBy;
  requestedTo.clear();
  requestedBy.clear();
}

void MineDuelSession::onDeny() {
  if (requestedBy.empty()) {
    show(kNoGames);
    return;
  }
  show("MineDuel - Games denied with %s.\n", requestedBy.c_str());
  sendAck(requestedBy.c_str(), "NO");
  requestedBy.clear();
}

void MineDuelSession::onCancel() {
  if (requestedTo.empty()) {
    show(kNoGames);
    return;
  }
  show("MineDuel - Games with %s canceled.\n", requestedTo.c_str());
  requestedTo.clear();
}

void MineDuelSession::startGame(const char* nick, int width, int height, int mines) {
  char title[128];
  std::snprintf(title, sizeof title, "MineDuel - %s", nick);
  gameTab = addSystemTab(title);
  // Without a tab there is no game to wait for.
  if (gameTab == nullptr) {
    partner.clear();
    return;
  }
  gameWindow = new MineDuelWindow(this, nick, gameTab);
  selectSystemTab(gameTab);
  board.start(this, gameWindow->getGridFrame(), width, height, mines);
  gameWindow->placeBesideGrid();
}

void MineDuelSession::endGame() {
  partner.clear();
  if (gameWindow == nullptr) return;
  MineDuelWindow* window = gameWindow;
  HWND tab = gameTab;
  gameWindow = nullptr;
  gameTab = nullptr;
  board.revealAll();
  // The handler that asked may belong to the window itself.
  deferred.post([this, window, tab] { disposeWindow(window, tab); });
}

void MineDuelSession::disposeWindow(MineDuelWindow* window, HWND tab) {
  if (window->isBusy()) {
    deferred.post([this, window, tab] { disposeWindow(window, tab); });
    return;
  }
  delete window;
  removeSystemTab(tab);
}

void MineDuelSession::updateScore(int myScore, int adversaryScore, int turn, int over) {
  if (gameWindow != nullptr)
    gameWindow->updateScore(myScore, adversaryScore, turn, over, board.getLayout().mineCount());
}

void MineDuelSession::onGridMessage(MineDuelWindow* window, int column, int row) {
  if (window == nullptr || window != gameWindow) return;
  if (column >= 0) {
    board.play(false, column, row);
    return;
  }
  sendRequestTo(partner, "STOP");
  endGame();
}

void MineDuelSession::onSystemEvent(int id, EventData*) {
  if (id == 0 && !partner.empty()) sendRequestTo(partner, "STOP");
}
