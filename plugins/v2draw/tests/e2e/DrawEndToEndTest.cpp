// Two clients, alice and bob, with NevChat as main plug-in and v2draw as add-in against the
// local chat server: a private drag reaches the peer's board, and in the channel "Dessin" a
// segment drawn by one shows on both boards once the server sends it back.
#include "host/Host.h"
#include "host/SystemWindow.h"
#include "host/tests/e2e/HostRun.h"
#include "platform/win32.h"
#include "plugins/NevChat/NevChatInputWindow.h"
#include "tests/support/TwoClientsHost.h"
#include "plugins/v2draw/DrawSession.h"

namespace {

DrawSession* drawOf(const char* name) { return firstAddinOf<DrawSession>(name); }

int linesOf(DrawBoard* board) { return board != nullptr ? board->lineCount() : -1; }

COLORREF pixelOf(DrawBoard* board, int x, int y) {
  HDC dc = GetDC(board->getWindow());
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(board->getWindow(), dc);
  return colour;
}

void drag(DrawBoard* board, const std::vector<POINT>& points) {
  HWND window = board->getWindow();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(points[0].x, points[0].y));
  for (size_t i = 1; i < points.size(); ++i)
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(points[i].x, points[i].y));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(points.back().x + 1, points.back().y));
}

class DrawEndToEnd : public TwoClientsHost {
 protected:
  DrawEndToEnd()
      : TwoClientsHost({{{V2DRAW_MODULE, "v2draw.vad"}},
                        "Addins=v2draw\n",
                        "[System]\nSizeX=900\nSizeY=500\n"}) {}
};

TEST_F(DrawEndToEnd, SegmentsReachThePeersBoards) {
  startUp(GetModuleHandleA(nullptr));
  NevChatSession* aliceChat = chatOf("alice");
  NevChatSession* bobChat = chatOf("bob");
  DrawSession* alice = drawOf("alice");
  DrawSession* bob = drawOf("bob");
  ASSERT_TRUE(aliceChat && bobChat && alice && bob);
  ASSERT_TRUE(wait([&] { return aliceChat->isSendDataOk() && bobChat->isSendDataOk(); }));

  // A private board: alice draws, bob's board for alice opens with the segments.
  alice->onUserEvent("NevChat", "begindraw", const_cast<char*>("bob"));
  DrawBoard* aliceToBob = alice->findBoard("bob");
  ASSERT_NE(nullptr, aliceToBob);
  drag(aliceToBob, {{10, 10}, {12, 15}, {20, 30}});
  ASSERT_TRUE(wait([&] { return sent("alice", "senddata bob }l 0 12 15 20 30 0"); }));
  ASSERT_TRUE(wait([&] { return linesOf(bob->findBoard("alice")) == 2; }));
  EXPECT_EQ(RGB(0, 0, 0), pixelOf(bob->findBoard("alice"), 10, 10));

  // The channel: each joins "Dessin"; a segment shows on both boards when it comes back.
  enter(aliceChat->getInput(), "join Dessin");
  enter(bobChat->getInput(), "join Dessin");
  ASSERT_TRUE(wait([&] { return alice->isChannelActive() && bob->isChannelActive(); }));
  drag(alice->getChannelBoard(), {{30, 40}, {200, 40}, {200, 150}, {60, 160}});
  ASSERT_TRUE(wait([&] { return sent("alice", "}l 0 200 40 200 150 0"); }));
  ASSERT_TRUE(wait([&] {
    return linesOf(alice->getChannelBoard()) == 3 && linesOf(bob->getChannelBoard()) == 3;
  }));
  EXPECT_EQ(RGB(0, 0, 0), pixelOf(bob->getChannelBoard(), 100, 40));
  EXPECT_EQ(1, bob->boardCount()) << "channel lines carry no nick";

  // What a person sees: bob's channel board in front.
  systemWindow->selectTab(bob->getChannelBoard()->getWindow());
  vorntest::pumpFor(100);
  EXPECT_TRUE(vorntest::saveScreenPng(E2E_SCREENSHOT));

  enter(bobChat->getInput(), "leave");
  ASSERT_TRUE(wait([&] { return !bob->isChannelActive(); }));
  EXPECT_EQ(nullptr, bob->getChannelBoard());
  closeAndShutDown();
}

}  // namespace
