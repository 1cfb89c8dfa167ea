// The session's state machine through the fake host and a recording grid: challenges and their
// answers, a game from both sides, the partner's hostile or late messages, and the game window's
// lines, commands and the grid's leave request.
#include <gtest/gtest.h>

#include <algorithm>

#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"
#include "plugins/MineDuel/GridLibrary.h"
#include "plugins/MineDuel/MineDuelInput.h"
#include "plugins/MineDuel/MineDuelSession.h"
#include "plugins/MineDuel/MineDuelWindow.h"
#include "plugins/MineDuel/tests/FakeGrid.h"
#include "tests/support/FakeHost.h"

namespace {

std::string paneText(StyledOutputWindow* pane) {
  std::string out;
  for (const vorntest::RichTextRun& run : vorntest::richEditRuns(pane->getHwnd()))
    out += run.picture ? "[pic]" : run.text;
  std::replace(out.begin(), out.end(), '\r', '\n');
  return out;
}

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class MineSession : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    host.answers["login"] = {5, "alice"};
    session.init();
  }
  void TearDown() override {
    session.term();
    ToolkitTest::TearDown();
  }
  // A peer's private data line as the events file gives it (data keeps its line end).
  bool peer(const char* nick, const char* request, const std::string& payload) {
    std::string data = payload + "\n";
    return feedAddin(session, "vdatas",
                     {{"nevtime", "12:00:00 "}, {"nick", nick}, {"request", request},
                      {"data", data.c_str()}},
                     "12:00:00 [data] x");
  }
  void user(const char* type, const char* data = nullptr) {
    session.onUserEvent("NevChat", type, const_cast<char*>(data));
  }
  std::string lastLine() const { return host.events.empty() ? "" : host.events.back(); }
  // bob challenges, alice accepts and bob's game arrives.
  void gameFromBob() {
    peer("bob", "VREQ", "MINEDUEL START 1");
    user("accept");
    peer("bob", "VREQ", "MINEDUEL INIT 1 16 16 50");
    host.clear();
    grid->clear();
  }

  FakeHost host;
  std::shared_ptr<GridLog> grid = std::make_shared<GridLog>();
  MineDuelSession session{"alice", std::make_unique<FakeGrid>(grid)};
};

TEST_F(MineSession, TheChallengerStartsTheGameAndSendsTheSeed) {
  user("start", "bob");
  EXPECT_EQ("senddata bob VREQ MINEDUEL START 1\n", host.sent);
  EXPECT_EQ("@ sysout MineDuel - Game request sent to bob\n", lastLine());
  host.clear();
  EXPECT_TRUE(peer("bob", "VACK", "MINEDUEL OK"));
  EXPECT_EQ("bob", session.getPartner());
  EXPECT_TRUE(session.getRequestedTo().empty());
  ASSERT_NE(nullptr, session.getGameWindow());
  int seed = -1, w = 0, h = 0, mines = 0;
  ASSERT_EQ(4, std::sscanf(host.sent.c_str(), "senddata bob VREQ MINEDUEL INIT %i %i %i %i\n",
                           &seed, &w, &h, &mines)) << host.sent;
  EXPECT_EQ(16, w);
  EXPECT_EQ(16, h);
  EXPECT_EQ(50, mines);
  EXPECT_TRUE(seed >= 0 && seed <= 32767);
  EXPECT_EQ(GridLog{"init 16x16"}, *grid) << "the challenger's grid stays enabled";
  EXPECT_TRUE(has(paneText(session.getGameWindow()->getScore()), "It's your turn."));
  EXPECT_EQ(std::vector<HWND>{session.getGameTab()}, host.selectedTabs);

  // The other side lays out the same mines from the seed.
  MineDuelBoard other{std::make_unique<FakeGrid>(std::make_shared<GridLog>())};
  other.random().seed(static_cast<uint32_t>(seed));
  other.start(nullptr, nullptr, 16, 16, 50);
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y)
      ASSERT_EQ(other.getLayout().cell(x, y), session.getBoard().getLayout().cell(x, y));

  // A click on the grid plays and goes to the partner; the partner's STOP ends the game.
  host.clear();
  PostMessageA(session.getGameTab(), MineDuelWindow::GridMessage, 3, 4);
  vorntest::pumpFor(20);
  EXPECT_EQ("senddata bob VREQ MINEDUEL PLAY 3 4\n", host.sent);
  peer("bob", "VREQ", "MINEDUEL STOP");
  EXPECT_EQ("@ sysout MineDuel - bob has stopped the game...\n", lastLine());
  EXPECT_EQ(nullptr, session.getGameWindow());
  EXPECT_TRUE(session.getPartner().empty());
}

TEST_F(MineSession, TheChallengedSideWaitsItsTurnAndShowsThePartner) {
  peer("bob", "VREQ", "MINEDUEL START 1");
  EXPECT_EQ("bob", session.getRequestedBy());
  user("accept");
  EXPECT_EQ("senddata bob VACK MINEDUEL OK\n", host.sent);
  EXPECT_EQ("bob", session.getPartner());
  peer("bob", "VREQ", "MINEDUEL INIT 1 16 16 50");
  ASSERT_NE(nullptr, session.getGameWindow());
  EXPECT_EQ(MineGrid::Mine, session.getBoard().getLayout().cell(9, 3));
  EXPECT_EQ((GridLog{"init 16x16", "enable 0"}), *grid);
  MineDuelWindow* window = session.getGameWindow();
  EXPECT_TRUE(has(paneText(window->getScore()), "Wait.")) << "the challenger moves first";

  // The partner's mine is theirs; a tell shows with its line end; a PLAY outside is ignored.
  grid->clear();
  peer("bob", "VREQ", "MINEDUEL PLAY 9 3");
  EXPECT_EQ(1, session.getBoard().getAdversaryScore());
  peer("bob", "VREQ", "MINEDUEL PLAY 16 3");
  peer("bob", "VREQ", "MINEDUEL PLAY -1 0");
  EXPECT_EQ(GridLog{"fill 9,3=-1 #0000ff"}, *grid);
  peer("bob", "VREQ", "MINEDUEL TELL hi :)");
  EXPECT_TRUE(has(paneText(window->getChat()), "<bob> hi [pic]")) << paneText(window->getChat());
  EXPECT_FALSE(host.highlightedTabs.empty());

  // Someone else's PLAY and STOP are ignored.
  peer("carol", "VREQ", "MINEDUEL STOP");
  EXPECT_EQ(window, session.getGameWindow());

  // Quitting tells the partner.
  host.clear();
  session.onSystemEvent(0, nullptr);
  EXPECT_EQ("senddata bob VREQ MINEDUEL STOP\n", host.sent);
}

TEST_F(MineSession, RefusalsAreShownAndAnswered) {
  peer("bob", "VREQ", "MINEDUEL START 2");
  EXPECT_EQ("senddata bob VACK MINEDUEL ER\n", host.sent);
  EXPECT_TRUE(has(lastLine(), "your versions are incompaticle"));
  EXPECT_TRUE(session.getRequestedBy().empty());

  host.clear();
  user("accept");
  EXPECT_EQ("@ sysout MineDuel - No games available...\n", lastLine());
  EXPECT_TRUE(host.sent.empty());

  peer("bob", "VACK", "MINEDUEL OK");
  EXPECT_EQ("senddata bob VACK MINEDUEL IN\n", host.sent) << "a late or unasked OK";
  EXPECT_TRUE(has(lastLine(), "bob has accepted but you have canceled the request."));

  host.clear();
  peer("bob", "VREQ", "MINEDUEL START 1");
  peer("carol", "VREQ", "MINEDUEL START 1");
  EXPECT_EQ("senddata carol VACK MINEDUEL IN\n", host.sent);
  user("deny");
  EXPECT_EQ("senddata carol VACK MINEDUEL IN\nsenddata bob VACK MINEDUEL NO\n", host.sent);

  user("start", "dave");
  peer("dave", "VACK", "MINEDUEL NO");
  EXPECT_EQ("@ sysout MineDuel - dave doesn't want to play.\n", lastLine());
  EXPECT_TRUE(session.getRequestedTo().empty());

  // Data that is no game's, or an event with its fields missing, is left alone.
  EXPECT_FALSE(feedAddin(session, "vdatas", {{"data", "PING 1\n"}}));
  EventData empty{nullptr, 0, nullptr};
  EXPECT_FALSE(session.onEvent(1, "vdatas", &empty, false));
  EXPECT_FALSE(session.onEvent(1, "usrbeep", &empty, false));

  // An accepted game that never comes leaves no partner behind.
  peer("bob", "VREQ", "MINEDUEL START 1");
  user("accept");
  peer("bob", "VACK", "MINEDUEL IN");
  EXPECT_TRUE(session.getPartner().empty());
  host.clear();
  user("start", "carol");
  EXPECT_EQ("senddata carol VREQ MINEDUEL START 1\n", host.sent);
}

TEST_F(MineSession, AGameTheBoardCannotHoldIsStoppedNotStarted) {
  for (const char* init : {"MINEDUEL INIT 1 0 16 5", "MINEDUEL INIT 1 16 16 256",
                           "MINEDUEL INIT 1 5000 5000 10", "MINEDUEL INIT 1 16 16 -4"}) {
    host.clear();
    peer("bob", "VREQ", "MINEDUEL START 1");
    user("accept");
    peer("bob", "VREQ", init);
    EXPECT_EQ(nullptr, session.getGameWindow()) << init;
    EXPECT_TRUE(has(host.sent, "senddata bob VREQ MINEDUEL STOP\n")) << init;
    EXPECT_TRUE(has(lastLine(), "bob sent a game that cannot be played")) << init;
    EXPECT_TRUE(session.getPartner().empty());
  }
  EXPECT_TRUE(host.tabTexts.empty() && host.selectedTabs.empty());

  // A second game during one stops both; a game from someone else is ignored quietly.
  gameFromBob();
  peer("carol", "VREQ", "MINEDUEL INIT 1 16 16 50");
  EXPECT_TRUE(host.sent.empty());
  peer("bob", "VREQ", "MINEDUEL INIT 2 16 16 50");
  EXPECT_EQ("senddata bob VREQ MINEDUEL STOP\n", host.sent);
  EXPECT_EQ(nullptr, session.getGameWindow());
  EXPECT_EQ(1u, host.selectedTabs.size()) << "no second tab";
  peer("bob", "VREQ", "MINEDUEL PLAY 1 1");
  EXPECT_FALSE(session.getBoard().isPlaying());
}

TEST_F(MineSession, TheGridsLeaveRequestEndsTheGameAfterItsHandler) {
  gameFromBob();
  HWND tab = session.getGameTab();
  // A second request already queued belongs to a game that has ended by then.
  PostMessageA(tab, MineDuelWindow::GridMessage, static_cast<WPARAM>(-1), 0);
  PostMessageA(tab, MineDuelWindow::GridMessage, static_cast<WPARAM>(-1), 0);
  ASSERT_TRUE(vorntest::pumpUntil([&] { return !host.removedTabs.empty(); }, 2000));
  EXPECT_EQ("senddata bob VREQ MINEDUEL STOP\n", host.sent);
  EXPECT_EQ(std::vector<HWND>{tab}, host.removedTabs);
  EXPECT_EQ("enable 0", grid->front()) << "the rest of the mines shown";
}

TEST_F(MineSession, TheInputLineSaysLinesAndRunsCommands) {
  gameFromBob();
  MineDuelWindow* window = session.getGameWindow();
  window->getInput()->setText("first\r\nsecond");
  window->getInput()->onEnter();
  EXPECT_EQ("senddata bob VREQ MINEDUEL TELL first\nsenddata bob VREQ MINEDUEL TELL second\n",
            host.sent);
  EXPECT_TRUE(has(paneText(window->getChat()), "<alice> first\n<alice> second"));
  host.clear();
  window->sendLine("/beep");
  EXPECT_EQ("beep bob\n", host.sent);
  window->sendLine("/st");
  EXPECT_EQ("Invalid command !\nEnter: /cmds to have the complete list.",
            paneText(window->getHelp()));
  window->updateScore(3, 2, 1, 0, 50);
  EXPECT_TRUE(has(paneText(window->getScore()), "Score - Mines: 05/50\n"));
  window->updateScore(26, 2, 0, 1, 50);
  EXPECT_TRUE(has(paneText(window->getScore()), "You have lost the game."));

  // "/stopnow" is "/stop": the game ends without a STOP to the partner.
  host.clear();
  window->sendLine("/stopnow");
  EXPECT_EQ(nullptr, session.getGameWindow());
  EXPECT_TRUE(host.sent.empty());
  session.runDeferred();
  EXPECT_EQ(1u, host.removedTabs.size());
}

using MineSessionGridless = ToolkitTest;

TEST_F(MineSessionGridless, AMissingGridLibraryMakesTheGameUnavailable) {
  FakeHost host;
  MineDuelSession session{"alice",
                          std::make_unique<GridLibrary>(".\\no-such-folder\\MineDuel.dll")};
  session.init();
  session.onUserEvent("NevChat", "start", const_cast<char*>("bob"));
  EXPECT_TRUE(host.sent.empty());
  EXPECT_EQ("@ sysout " + std::string(MineDuelSession::kNoGridLine), host.events.back());
  EXPECT_TRUE(feedAddin(session, "vdatas",
                        {{"nick", "bob"}, {"request", "VREQ"}, {"data", "MINEDUEL START 1\n"}}));
  EXPECT_EQ("senddata bob VACK MINEDUEL IN\n", host.sent);
  session.term();
}

}  // namespace
