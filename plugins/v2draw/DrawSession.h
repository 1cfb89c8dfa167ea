// The whiteboard add-in's session of one client: a private board per correspondent and the
// channel board, open while the user is in the channel "Dessin"; segments travel as chat lines.
#pragma once

#include "plugins/NevStyle/DeferredCalls.h"
#include "plugins/NevStyle/PeerBoundNotice.h"
#include "plugins/v2draw/DrawBoard.h"
#include "plugins/v2draw/ItemList.h"
#include "sdk/PlugsAddinSession.h"

class DrawSession : public PlugsAddinSession {
 public:
  // A peer's segment opens a board only while fewer private boards are open: a board is a tab
  // and its picture, and any peer can draw under as many nicks as it likes.
  static constexpr int MaxPeerBoards = 50;

  explicit DrawSession(const char* clientName);
  ~DrawSession() override;
  DrawSession(const DrawSession&) = delete;
  DrawSession& operator=(const DrawSession&) = delete;

  void init() override;
  void term() override;
  void onUserEvent(const char* fromPlug, const char* type, void* data) override;
  void onSystemEvent(int id, EventData* data) override;
  bool onEvent(int lineNo, const char* eventName, EventData* data, bool interceptedSoFar) override;

  // The nick's board, or without a nick the channel board; made when missing (null only when
  // the host gives no tab).
  virtual DrawBoard* getBoard(const char* nick);
  // Closes the board (made first when missing); one closed from its own window goes once its
  // handler has returned.
  virtual void closeBoard(const char* nick);
  virtual void openChannelBoard();
  virtual void closeChannelBoard();
  virtual void addLine(const char* nick, const DrawLine& line);
  virtual void sendChannelLine(int color, int x1, int y1, int x2, int y2, int width);
  virtual void sendPrivateLine(const char* nick, int color, int x1, int y1, int x2, int y2,
                               int width);

  bool isChannelActive() const { return channelActive; }
  DrawBoard* findBoard(const char* nick) const;
  DrawBoard* getChannelBoard() const { return channelBoard; }
  int boardCount() const { return boards.count(); }
  // Deletes closed boards now (tests; the message loop does it otherwise).
  void runDeferred() { deferred.runPending(); }

 private:
  void destroyBoard(DrawBoard* board);
  void destroyAll();
  bool onDrawLine(const EventData& data, bool fromChannel);
  // Whether a peer's segment may go to the nick's board: it has one, or one may open.
  bool mayOpenFor(const char* nick);

  bool channelActive = false;
  DrawBoard* channelBoard = nullptr;
  ItemList<DrawBoard> boards;
  DeferredCalls deferred;
  PeerBoundNotice boundNotice;
};
