// Two clients, alice and bob, play a whole game through the local chat server: the challenge
// and answer typed as "/mine" commands, moves made by clicks on the grid library's stand-in
// (bob's grid is the process's current one) and by the grid's message to alice's window, chat
// in the game window, and the grid's "Leave" ending the game on both sides.
#include "host/Host.h"
#include "host/SystemWindow.h"
#include "host/tests/e2e/HostRun.h"
#include "platform/win32.h"
#include "plugins/MineDuel/MineDuelInput.h"
#include "plugins/MineDuel/MineDuelSession.h"
#include "plugins/MineDuel/MineDuelWindow.h"
#include "plugins/NevChat/NevChatInputWindow.h"
#include "tests/support/TwoClientsHost.h"

namespace {

using ClickCall = int (*)(int, int);
using LeaveCall = int (*)();

std::string textOf(StyledOutputWindow* pane) { return paneText(pane->getHwnd()); }

MineDuelSession* gameOf(const char* name) { return firstAddinOf<MineDuelSession>(name); }

bool myTurn(MineDuelSession* session) {
  MineDuelWindow* window = session->getGameWindow();
  return window != nullptr && has(textOf(window->getScore()), "It's your turn.");
}

// The first cell, column by column, that the board has not shown.
std::pair<int, int> firstHidden(MineDuelSession* session) {
  const MineGrid& reveal = session->getBoard().getReveal();
  for (int x = 0; x < reveal.width(); ++x)
    for (int y = 0; y < reveal.height(); ++y)
      if (reveal.cell(x, y) == 0) return {x, y};
  return {-1, -1};
}

bool sameReveal(MineDuelSession* a, MineDuelSession* b) {
  const MineGrid& left = a->getBoard().getReveal();
  const MineGrid& right = b->getBoard().getReveal();
  for (int x = 0; x < left.width(); ++x)
    for (int y = 0; y < left.height(); ++y)
      if (left.cell(x, y) != right.cell(x, y)) return false;
  return true;
}

class MineDuelEndToEnd : public TwoClientsHost {
 protected:
  MineDuelEndToEnd()
      : TwoClientsHost({{{MINEDUEL_MODULE, "MineDuel.vad"}, {MINEGRID_MODULE, "MineDuel.dll"}},
                        "Addins=MineDuel\n",
                        "[System]\nSizeX=1000\nSizeY=600\n"}) {}
};

TEST_F(MineDuelEndToEnd, AWholeGameBetweenTwoClientsWithClicksOnTheGrid) {
  startUp(GetModuleHandleA(nullptr));
  NevChatSession* aliceChat = chatOf("alice");
  NevChatSession* bobChat = chatOf("bob");
  MineDuelSession* alice = gameOf("alice");
  MineDuelSession* bob = gameOf("bob");
  ASSERT_TRUE(aliceChat && bobChat && alice && bob);
  ASSERT_TRUE(wait([&] { return aliceChat->isSendDataOk() && bobChat->isSendDataOk(); }));
  HMODULE grid = LoadLibraryA(".\\plugins\\MineDuel.dll");
  ASSERT_NE(nullptr, grid);
  auto click = reinterpret_cast<ClickCall>(reinterpret_cast<void (*)()>(GetProcAddress(grid, "MineGridClick")));
  auto leave = reinterpret_cast<LeaveCall>(reinterpret_cast<void (*)()>(GetProcAddress(grid, "MineGridLeave")));
  ASSERT_TRUE(click && leave);

  enter(aliceChat->getInput(), "/mine start bob");
  ASSERT_TRUE(wait([&] { return bob->getRequestedBy() == "alice"; }));
  enter(bobChat->getInput(), "/mine ok");
  ASSERT_TRUE(wait([&] { return alice->getGameWindow() && bob->getGameWindow(); }));
  ASSERT_TRUE(wait([&] { return myTurn(alice) && !myTurn(bob); }));
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y)
      ASSERT_EQ(alice->getBoard().getLayout().cell(x, y), bob->getBoard().getLayout().cell(x, y));

  // Chat inside the game window, emoticons as pictures.
  enter(alice->getGameWindow()->getInput(), "good luck :)");
  ASSERT_TRUE(wait([&] { return has(textOf(bob->getGameWindow()->getChat()), "<alice> good luck [pic]"); }))
      << textOf(bob->getGameWindow()->getChat());

  int moves = 0;
  bool shot = false;
  while (alice->getBoard().isPlaying() && moves < 300) {
    ASSERT_TRUE(wait([&] { return sameReveal(alice, bob) && (myTurn(alice) || myTurn(bob)); }))
        << "after move " << moves;
    if (!alice->getBoard().isPlaying()) break;
    if (moves == 6 && !shot) {
      systemWindow->selectTab(bob->getGameTab());
      vorntest::pumpFor(100);
      EXPECT_TRUE(vorntest::saveScreenPng(E2E_SCREENSHOT));
      shot = true;
    }
    bool alicePlays = myTurn(alice);
    auto cell = firstHidden(alicePlays ? alice : bob);
    if (alicePlays)
      PostMessageA(alice->getGameTab(), MineDuelWindow::GridMessage, cell.first, cell.second);
    else
      ASSERT_EQ(1, click(cell.first, cell.second)) << cell.first << "," << cell.second;
    ++moves;
    ASSERT_TRUE(wait([&] {
      return alice->getBoard().getReveal().cell(cell.first, cell.second) != 0 &&
             bob->getBoard().getReveal().cell(cell.first, cell.second) != 0;
    })) << "move " << moves;
  }
  ASSERT_TRUE(wait([&] { return !alice->getBoard().isPlaying() && !bob->getBoard().isPlaying(); }));
  EXPECT_EQ(alice->getBoard().getMyScore(), bob->getBoard().getAdversaryScore());
  EXPECT_EQ(alice->getBoard().getAdversaryScore(), bob->getBoard().getMyScore());
  std::string aliceScore = textOf(alice->getGameWindow()->getScore());
  std::string bobScore = textOf(bob->getGameWindow()->getScore());
  EXPECT_TRUE((has(aliceScore, "YOU WIN") && has(bobScore, "You have lost")) ||
              (has(bobScore, "YOU WIN") && has(aliceScore, "You have lost")) ||
              (has(aliceScore, "No winners.") && has(bobScore, "No winners.")))
      << aliceScore << "\n--\n" << bobScore;

  // bob's grid asks to leave: STOP reaches alice, and both tabs go.
  ASSERT_EQ(1, leave());
  ASSERT_TRUE(wait([&] { return alice->getGameWindow() == nullptr && bob->getGameWindow() == nullptr; }));
  ASSERT_TRUE(wait([&] { return alice->getPartner().empty() && bob->getPartner().empty(); }));
  std::vector<std::string> lines = server.transcript("bob");
  EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "senddata alice VREQ MINEDUEL STOP"));
  closeAndShutDown();
}

}  // namespace
