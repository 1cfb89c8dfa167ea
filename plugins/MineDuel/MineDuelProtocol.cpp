// The peer messages as they arrive: requests (VREQ) and answers (VACK) of the game, and the
// beeps shown in the game window.
#include <cstdlib>
#include <cstring>

#include "plugins/MineDuel/MineDuelSession.h"
#include "plugins/MineDuel/MineDuelWindow.h"
#include "sdk/NoCase.h"

namespace {

const char kKeyword[] = "MINEDUEL ";
// The server's stamp "HH:MM:SS " ahead of the line.
constexpr size_t kStampLength = 9;

bool startsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Up to count numbers from the text after a request's name, read as atoi does; missing ones 0.
void readNumbers(const char* text, int* numbers, int count) {
  for (int i = 0; i < count; ++i) {
    while (*text == ' ' || *text == '\t') ++text;
    numbers[i] = std::atoi(text);
    while (*text != '\0' && *text != ' ' && *text != '\t') ++text;
  }
}

}  // namespace

bool MineDuelSession::onEvent(int, const char* eventName, EventData* data, bool) {
  if (eventName == nullptr || data == nullptr) return false;
  if (equalsNoCase(eventName, "usrbeep") || equalsNoCase(eventName, "youbeep")) {
    return onBeepEvent(*data, equalsNoCase(eventName, "usrbeep"));
  }
  if (!equalsNoCase(eventName, "vdatas")) return false;
  const char* payload = data->getValue("data");
  if (payload == nullptr || !startsWith(payload, kKeyword)) return false;
  const char* nick = data->getValue("nick");
  const char* request = data->getValue("request");
  const char* time = data->getValue("nevtime");
  // A message that names no sender is the game's, but there is nobody to answer.
  if (nick == nullptr || nick[0] == '\0' || request == nullptr) return true;
  const char* rest = payload + std::strlen(kKeyword);
  if (std::strcmp(request, "VREQ") == 0)
    handleRequest(nick, rest, time != nullptr ? time : "");
  else if (std::strcmp(request, "VACK") == 0)
    handleAck(nick, rest, time != nullptr ? time : "");
  return true;
}

bool MineDuelSession::onBeepEvent(const EventData& data, bool highlight) {
  if (gameWindow == nullptr || !gameWindow->isTabSelected()) return false;
  const char* line = data.getText() != nullptr ? data.getText() : "";
  const char* nevtime = data.getValue("nevtime");
  if (nevtime != nullptr && nevtime[0] != '\0') line += std::min(kStampLength, std::strlen(line));
  gameWindow->showSystemLine(line, highlight);
  return true;
}

void MineDuelSession::handleRequest(const char* nick, const char* rest, const char*) {
  if (startsWith(rest, "START")) {
    onStartRequest(nick, rest + 5);
    return;
  }
  if (partner.empty() || partner != nick) return;
  if (startsWith(rest, "INIT")) {
    onInitRequest(nick, rest + 4);
  } else if (startsWith(rest, "PLAY")) {
    int place[2];
    readNumbers(rest + 4, place, 2);
    board.play(true, place[0], place[1]);
  } else if (startsWith(rest, "STOP")) {
    show("MineDuel - %s has stopped the game...\n", nick);
    endGame();
  } else if (startsWith(rest, "TELL ")) {
    if (gameWindow != nullptr) gameWindow->showPartnerLine(rest + 5);
  }
}

void MineDuelSession::onStartRequest(const char* nick, const char* rest) {
  if (!board.isUsable()) {
    show("%s", kNoGridLine);
    sendAck(nick, "IN");
    return;
  }
  if (!partner.empty() || !requestedBy.empty() || !requestedTo.empty() || board.isPlaying()) {
    show("MineDuel - %s want to play with you, but you are not available.\n", nick);
    sendAck(nick, "IN");
    return;
  }
  int version = 0;
  readNumbers(rest, &version, 1);
  if (version != ProtocolVersion) {
    show("MineDuel - %s want to play with you, but your versions are incompaticle.\n", nick);
    sendAck(nick, "ER");
    return;
  }
  requestedBy = nick;
  show("MineDuel - %s want to play with you, '/mine ok' to accept, '/mine no' to deny.\n", nick);
}

// A game is taken only while waiting for one, and only of a size the board can hold; anything
// else stops the partner's game and ours.
void MineDuelSession::onInitRequest(const char* nick, const char* rest) {
  int values[4];
  readNumbers(rest, values, 4);
  if (board.isPlaying() || gameWindow != nullptr ||
      !MineDuelBoard::acceptsSize(values[1], values[2], values[3])) {
    show("MineDuel - %s sent a game that cannot be played: game stopped.\n", nick);
    sendRequestTo(partner, "STOP");
    endGame();
    return;
  }
  board.random().seed(static_cast<uint32_t>(values[0]));
  startGame(partner.c_str(), values[1], values[2], values[3]);
  if (gameWindow == nullptr) {
    sendRequestTo(nick, "STOP");
    return;
  }
  board.enable(false);
  updateScore(0, 0, 0, 0);
}

void MineDuelSession::handleAck(const char* nick, const char* rest, const char*) {
  if (startsWith(rest, "IN")) {
    show("MineDuel - %s is already playing...\n", nick);
    if (requestedTo == nick) requestedTo.clear();
    if (requestedBy == nick) requestedBy.clear();
    // Accepted and waiting for a game that will not come.
    if (partner == nick && gameWindow == nullptr) partner.clear();
  } else if (startsWith(rest, "NO")) {
    show("MineDuel - %s doesn't want to play.\n", nick);
    if (requestedTo == nick) requestedTo.clear();
    if (partner == nick && gameWindow == nullptr) partner.clear();
  } else if (startsWith(rest, "OK")) {
    onOk(nick);
  }
}

void MineDuelSession::onOk(const char* nick) {
  if (board.isPlaying()) {
    sendAck(nick, "IN");
    return;
  }
  if (requestedTo != nick || !board.isUsable()) {
    show("MineDuel - %s has accepted but you have canceled the request.\n", nick);
    sendAck(nick, "IN");
    return;
  }
  partner = requestedTo;
  requestedTo.clear();
  requestedBy.clear();
  int seed = board.random().next();
  board.random().seed(static_cast<uint32_t>(seed));
  startGame(nick, GameSide, GameSide, GameMines);
  if (gameWindow == nullptr) {
    sendRequestTo(nick, "STOP");
    return;
  }
  updateScore(0, 0, 1, 0);
  sendData("senddata %s VREQ MINEDUEL INIT %i %i %i %i\n", partner.c_str(), seed,
           static_cast<int>(GameSide), static_cast<int>(GameSide), static_cast<int>(GameMines));
}
