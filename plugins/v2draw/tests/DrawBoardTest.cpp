// Boards over the fake host: mouse drags become drawn and sent segments, received segments are
// drawn into the tab's backing image, the channel board follows "Dessin", and boards closed
// from their own window go once the handler has returned.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"
#include "tests/support/FakeHost.h"
#include "plugins/v2draw/DrawSession.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

class DrawBoardTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    session.init();
  }
  void TearDown() override {
    session.term();
    vorntest::clearPopupMenuAnswers();
    ToolkitTest::TearDown();
  }

  bool event(const char* name, const Vars& vars) { return feedAddin(session, name, vars, "line"); }
  bool segment(const char* name, const char* nick, const char* fields[6]) {
    Vars vars{{"color", fields[0]}, {"x1", fields[1]}, {"y1", fields[2]},
              {"x2", fields[3]},    {"y2", fields[4]}, {"width", fields[5]}};
    if (nick != nullptr) vars.push_back({"nick", nick});
    return event(name, vars);
  }
  void userEvent(const char* type, const char* nick) {
    session.onUserEvent("NevChat", type, const_cast<char*>(nick));
  }
  static void mouse(HWND board, UINT msg, int x, int y) {
    SendMessageA(board, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
  }
  // What the board's window holds at the point, read from its backing image.
  static COLORREF pixel(DrawBoard* board, int x, int y) {
    HDC dc = GetDC(board->getWindow());
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(board->getWindow(), dc);
    return colour;
  }

  FakeHost host;
  DrawSession session{"alice"};
};

TEST_F(DrawBoardTest, APrivateDragIsDrawnAndSentSegmentBySegment) {
  userEvent("begindraw", "bob");
  DrawBoard* board = session.findBoard("bob");
  ASSERT_NE(nullptr, board);
  char title[128] = "";
  GetWindowTextA(host.tabParent, title, sizeof title);
  EXPECT_STREQ("Dessin (bob)", title);
  HWND window = board->getWindow();

  mouse(window, WM_LBUTTONDOWN, 10, 10);
  EXPECT_EQ(window, GetCapture());
  mouse(window, WM_MOUSEMOVE, 12, 15);
  mouse(window, WM_MOUSEMOVE, 20, 30);
  mouse(window, WM_LBUTTONUP, 20, 30);
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ("senddata bob }l 0 10 10 12 15 0\n"
            "senddata bob }l 0 12 15 20 30 0\n"
            "senddata bob }l 0 20 30 20 30 0\n",
            host.sent);
  EXPECT_EQ(kBlack, pixel(board, 10, 10));
  EXPECT_EQ(kBlack, pixel(board, 12, 15));

  // A click without a move is one dot; moves without a button draw nothing.
  host.clear();
  mouse(window, WM_MOUSEMOVE, 60, 60);
  mouse(window, WM_LBUTTONDOWN, 50, 40);
  mouse(window, WM_LBUTTONUP, 50, 40);
  EXPECT_EQ("senddata bob }l 0 50 40 50 40 0\n", host.sent);
  // An overlong nick still gets a bounded title.
  userEvent("begindraw", std::string(300, 'n').c_str());
  GetWindowTextA(host.tabParent, title, sizeof title);
  EXPECT_EQ(127u, std::string(title).size());
}

TEST_F(DrawBoardTest, ReceivedSegmentsAreDrawnKeptAndRepainted) {
  const char* dot[6] = {"-1", "40", "50", "40", "50", "0"};
  const char* line[6] = {"0", "100", "20", "200", "20", "3"};
  EXPECT_TRUE(segment("vsenddatadrawline", "carol", dot));
  EXPECT_TRUE(segment("vsenddatadrawline", "carol", line));
  DrawBoard* board = session.findBoard("carol");
  ASSERT_NE(nullptr, board);
  // The dot takes its colour number as the colour: 255 is pure red.
  EXPECT_EQ(RGB(255, 0, 0), pixel(board, 40, 50));
  EXPECT_EQ(kBlack, pixel(board, 150, 20));

  // A repaint clears and draws every kept segment again.
  MoveWindow(board->getWindow(), 0, 0, 620, 470, TRUE);
  EXPECT_EQ(RGB(255, 0, 0), pixel(board, 40, 50));
  EXPECT_EQ(kBlack, pixel(board, 150, 20));

  // Missing coordinates and lines without a sender are no segments.
  EXPECT_FALSE(event("vsenddatadrawline", {{"nick", "carol"}, {"x1", "1"}, {"y1", "2"}}));
  EXPECT_FALSE(segment("vsenddatadrawline", nullptr, line));
  EXPECT_FALSE(segment("vsenddatadrawline", "", line));
  EXPECT_EQ(2, board->lineCount());
}

TEST_F(DrawBoardTest, TheChannelBoardLivesWhileInDessin) {
  const char* line[6] = {"0", "5", "5", "30", "5", "0"};
  EXPECT_FALSE(segment("vchanneldrawline", nullptr, line)) << "not in Dessin";
  EXPECT_EQ(nullptr, session.getChannelBoard());

  EXPECT_FALSE(event("join", {{"channel", "Dessin"}}));
  DrawBoard* board = session.getChannelBoard();
  ASSERT_NE(nullptr, board);
  ASSERT_TRUE(session.isChannelActive());
  // A drag is only sent: it shows when the server sends it back.
  mouse(board->getWindow(), WM_LBUTTONDOWN, 10, 10);
  mouse(board->getWindow(), WM_MOUSEMOVE, 40, 10);
  EXPECT_EQ("}l 0 10 10 40 10 0\n", host.sent);
  EXPECT_EQ(0, board->lineCount());
  EXPECT_EQ(kWhite, pixel(board, 20, 10));
  EXPECT_TRUE(segment("vchanneldrawline", nullptr, line));
  EXPECT_EQ(1, board->lineCount());
  EXPECT_EQ(kBlack, pixel(board, 10, 5));
  // A channel line naming a nick goes to that nick's board.
  EXPECT_TRUE(segment("vchanneldrawline", "dave", line));
  EXPECT_EQ(1, session.findBoard("dave")->lineCount());

  // Another channel closes it, and channel lines are ignored again.
  EXPECT_FALSE(event("join", {{"channel", "Hall"}}));
  EXPECT_EQ(nullptr, session.getChannelBoard());
  EXPECT_FALSE(segment("vchanneldrawline", nullptr, line));
  EXPECT_FALSE(event("join", {}));
  EXPECT_FALSE(event("join", {{"channel", "Dessin"}}));
  EXPECT_FALSE(event("leave", {}));
  EXPECT_EQ(nullptr, session.getChannelBoard());
}

// Moved out of "Dessin" without a leave line (a bump, a new login) or cut off: the board goes,
// so nothing drawn reaches the channel the user is in now.
TEST_F(DrawBoardTest, TheChannelBoardClosesWhenTheUserIsMovedOutOrCutOff) {
  struct Exit {
    const char* event;  // null: the system event
    int systemEvent;
  };
  for (Exit exit : {Exit{"bumped", 0}, Exit{"wellogin", 0}, Exit{nullptr, 3},
                    Exit{nullptr, 5}, Exit{nullptr, 1}}) {
    SCOPED_TRACE(exit.event != nullptr ? exit.event : std::to_string(exit.systemEvent));
    ASSERT_FALSE(event("join", {{"channel", "Dessin"}}));
    HWND window = session.getChannelBoard()->getWindow();
    if (exit.event != nullptr)
      EXPECT_FALSE(event(exit.event, {{"nick", "carol"}, {"login", "alice"}}));
    else
      session.onSystemEvent(exit.systemEvent, nullptr);
    EXPECT_FALSE(session.isChannelActive());
    EXPECT_EQ(nullptr, session.getChannelBoard());
    session.runDeferred();
    EXPECT_FALSE(IsWindow(window));
    host.clear();
    mouse(window, WM_LBUTTONDOWN, 10, 10);
    mouse(window, WM_MOUSEMOVE, 40, 10);
    EXPECT_EQ("", host.sent);
  }
  // A private board stays through it all.
  userEvent("begindraw", "bob");
  session.onSystemEvent(3, nullptr);
  EXPECT_NE(nullptr, session.findBoard("bob"));
}

// Segments under ever new nicks stop opening boards at the bound, with one line saying why;
// open boards keep drawing and the user still opens boards.
TEST_F(DrawBoardTest, PeersOpenNoMoreThanTheBoundOfBoards) {
  const char* line[6] = {"0", "5", "5", "30", "5", "0"};
  for (int i = 0; i < DrawSession::MaxPeerBoards; ++i)
    ASSERT_TRUE(segment("vsenddatadrawline", ("pal" + std::to_string(i)).c_str(), line));
  EXPECT_EQ(DrawSession::MaxPeerBoards, session.boardCount());
  EXPECT_TRUE(host.events.empty());

  EXPECT_TRUE(segment("vsenddatadrawline", "stranger", line)) << "taken, not shown as chat";
  ASSERT_FALSE(event("join", {{"channel", "Dessin"}}));
  EXPECT_TRUE(segment("vchanneldrawline", "another", line));
  EXPECT_EQ(nullptr, session.findBoard("stranger"));
  EXPECT_EQ(nullptr, session.findBoard("another"));
  ASSERT_EQ(1u, host.events.size());
  EXPECT_EQ(0u, host.events[0].find("@ sysout v2draw - 50 boards are open")) << host.events[0];
  EXPECT_TRUE(segment("vsenddatadrawline", "pal3", line));
  EXPECT_EQ(2, session.findBoard("pal3")->lineCount());
  EXPECT_TRUE(segment("vchanneldrawline", nullptr, line)) << "the channel board is not a peer's";
  userEvent("begindraw", "friend");
  EXPECT_NE(nullptr, session.findBoard("friend"));

  session.closeBoard("pal0");
  session.closeBoard("friend");
  EXPECT_TRUE(segment("vsenddatadrawline", "stranger", line));
  EXPECT_NE(nullptr, session.findBoard("stranger"));
}

TEST_F(DrawBoardTest, BoardsClosedFromTheirOwnWindowGoAfterTheHandler) {
  userEvent("begindraw", "bob");
  HWND window = session.findBoard("bob")->getWindow();
  SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(nullptr, session.findBoard("bob"));
  EXPECT_TRUE(IsWindow(window)) << "still inside the handler's reach";
  session.runDeferred();
  EXPECT_FALSE(IsWindow(window));

  // "Close" from the right-click menu arrives as a command.
  userEvent("begindraw", "bob");
  window = session.findBoard("bob")->getWindow();
  vorntest::pickNextPopupMenuItem(DrawBoard::CloseItem);
  mouse(window, WM_RBUTTONUP, 30, 30);
  ASSERT_TRUE(vorntest::pumpUntil([&] { return !IsWindow(window); }, 2000));
  EXPECT_EQ(0, session.boardCount());

  // "enddraw" for a nick without a board makes one and removes it at once; without a nick,
  // neither user event does anything.
  host.removedTabs.clear();
  userEvent("enddraw", "erin");
  EXPECT_EQ(1u, host.removedTabs.size());
  userEvent("begindraw", "");
  userEvent("enddraw", nullptr);
  EXPECT_EQ(nullptr, session.getChannelBoard());
  EXPECT_EQ(0, session.boardCount());
}

TEST_F(DrawBoardTest, ABoardKeepsTheNewestSegmentsOnly) {
  const char* first[6] = {"0", "1", "1", "1", "1", "0"};
  ASSERT_TRUE(segment("vsenddatadrawline", "bob", first));
  DrawBoard* board = session.findBoard("bob");
  ASSERT_NE(nullptr, board);
  for (int i = 0; i < DrawBoard::MaxLines; ++i) board->addLine(DrawLine::of(0, 5, 5, 5, 5, 0));
  EXPECT_EQ(DrawBoard::MaxLines, board->lineCount());
  MoveWindow(board->getWindow(), 0, 0, 620, 470, TRUE);
  EXPECT_EQ(kWhite, pixel(board, 1, 1)) << "the first segment went";
}

}  // namespace
