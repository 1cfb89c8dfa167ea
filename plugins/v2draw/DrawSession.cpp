#include "plugins/v2draw/DrawSession.h"

#include <cstdio>
#include <cstring>

#include "sdk/EventData.h"
#include "sdk/NoCase.h"

namespace {

const char* const kChannel = "Dessin";

bool isEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

}  // namespace

DrawSession::DrawSession(const char* clientName) : PlugsAddinSession(clientName) {}

DrawSession::~DrawSession() { destroyAll(); }

void DrawSession::init() {
  destroyAll();
  channelActive = false;
}

void DrawSession::term() { destroyAll(); }

// Called by the host, never from a board's own handler: every board goes at once.
void DrawSession::destroyAll() {
  deferred.runPending();
  delete channelBoard;
  channelBoard = nullptr;
  boards.forEach([](DrawBoard* board) { delete board; });
  boards.clear();
}

DrawBoard* DrawSession::findBoard(const char* nick) const {
  if (isEmpty(nick)) return channelBoard;
  return boards.find([nick](DrawBoard* board) { return board->hasNickOf(nick); });
}

DrawBoard* DrawSession::getBoard(const char* nick) {
  DrawBoard* board = findBoard(nick);
  if (board != nullptr) return board;
  board = new DrawBoard(this, nick);
  if (!board->create()) {
    delete board;
    return nullptr;
  }
  if (isEmpty(nick))
    channelBoard = board;
  else
    boards.append(board);
  return board;
}

void DrawSession::closeBoard(const char* nick) {
  DrawBoard* board = getBoard(nick);
  if (board == nullptr) return;
  if (board == channelBoard)
    channelBoard = nullptr;
  else
    boards.remove(board);
  destroyBoard(board);
}

void DrawSession::destroyBoard(DrawBoard* board) {
  board->markClosed();
  if (!board->isBusy()) {
    delete board;
    return;
  }
  deferred.post([this, board] { destroyBoard(board); });
}

void DrawSession::openChannelBoard() {
  if (getBoard(nullptr) != nullptr) channelActive = true;
}

void DrawSession::closeChannelBoard() {
  channelActive = false;
  closeBoard(nullptr);
}

void DrawSession::addLine(const char* nick, const DrawLine& line) {
  if (DrawBoard* board = getBoard(nick)) board->addLine(line);
}

void DrawSession::sendChannelLine(int color, int x1, int y1, int x2, int y2, int width) {
  if (!channelActive) return;
  sendData("%s", DrawLine::of(color, x1, y1, x2, y2, width).format(nullptr).c_str());
}

void DrawSession::sendPrivateLine(const char* nick, int color, int x1, int y1, int x2, int y2,
                                  int width) {
  if (isEmpty(nick)) return;
  sendData("%s", DrawLine::of(color, x1, y1, x2, y2, width).format(nick).c_str());
}

void DrawSession::onUserEvent(const char*, const char* type, void* data) {
  const char* nick = static_cast<const char*>(data);
  // Without a nick these would reach the channel board.
  if (type == nullptr || isEmpty(nick)) return;
  if (equalsNoCase(type, "begindraw")) {
    if (DrawBoard* board = getBoard(nick)) selectSystemTab(board->getWindow());
  } else if (equalsNoCase(type, "enddraw")) {
    closeBoard(nick);
  }
}

// Whatever the connection does (closed, failed, a new attempt or a new connection), the user is
// no longer in "Dessin": the channel board must not send into another channel.
void DrawSession::onSystemEvent(int id, EventData*) {
  if (id >= 0 && id <= 5 && channelActive) closeChannelBoard();
}

bool DrawSession::onEvent(int, const char* eventName, EventData* data, bool) {
  if (eventName == nullptr || data == nullptr) return false;
  // Bumped to the Hall, or a new login (which starts in the Hall).
  if (std::strcmp(eventName, "bumped") == 0 || std::strcmp(eventName, "wellogin") == 0) {
    if (channelActive) closeChannelBoard();
    return false;
  }
  if (std::strcmp(eventName, "join") == 0) {
    const char* channel = data->getValue("channel");
    if (channel != nullptr && std::strcmp(channel, kChannel) == 0)
      openChannelBoard();
    else if (channelActive)
      closeChannelBoard();
    return false;
  }
  if (std::strcmp(eventName, "leave") == 0) {
    if (channelActive) closeChannelBoard();
    return false;
  }
  if (std::strcmp(eventName, "vsenddatadrawline") == 0) return onDrawLine(*data, false);
  if (std::strcmp(eventName, "vchanneldrawline") == 0)
    return channelActive && onDrawLine(*data, true);
  return false;
}

// A private line needs its sender's nick; a channel line with a nick goes to that nick's board.
bool DrawSession::onDrawLine(const EventData& data, bool fromChannel) {
  const char* nick = data.getValue("nick");
  DrawLine line;
  if ((!fromChannel && isEmpty(nick)) || !DrawLine::fromEvent(data, &line)) return false;
  // A refused segment is still taken: shown as chat, a flood of them would bury the chat.
  if (!isEmpty(nick) && !mayOpenFor(nick)) return true;
  addLine(isEmpty(nick) ? nullptr : nick, line);
  return true;
}

bool DrawSession::mayOpenFor(const char* nick) {
  if (findBoard(nick) != nullptr || boards.count() < MaxPeerBoards) return true;
  boundNotice.say(this,
                  "v2draw - %d boards are open: segments from new nicks (%.32s) are dropped until "
                  "one is closed.",
                  MaxPeerBoards, nick);
  return false;
}
