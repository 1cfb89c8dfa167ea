// The game add-in on a desktop: a challenge typed in the chat input and accepted by a peer opens
// the game's tab, a click of the pointer on the grid plays a move the peer receives, and a line
// typed in the game's input line reaches the peer as the game's chat.
#include "tests/desktop/DesktopTest.h"

namespace {

class MineDuelDesktopTest : public DesktopTest {
 protected:
  // The grid library's cells are 18 pixels square, from the game page's top left corner.
  static const int Cell = 18;

  void SetUp() override {
    session.addClientSettings("Addins=MineDuel\n", "");
    ASSERT_TRUE(session.start()) << session.why();
  }
  Point cell(int column, int row) {
    MainLayout main = session.main();
    return {main.window.x + column * Cell + Cell / 2, main.pageTop() + row * Cell + Cell / 2};
  }
};

TEST_F(MineDuelDesktopTest, AClickOnTheGridPlaysAMoveThePeerReceives) {
  ASSERT_TRUE(session.input().click(session.main().inputLine()));
  ASSERT_TRUE(session.typeLine("/mine start bob"));
  ASSERT_TRUE(receives("senddata bob VREQ MINEDUEL START 1"));
  ASSERT_TRUE(fromServer("[data] bob VACK MINEDUEL OK"));
  ASSERT_TRUE(DesktopSession::waitFor(
      [&] {
        for (const std::string& line : session.received())
          if (line.rfind("senddata bob VREQ MINEDUEL INIT ", 0) == 0 &&
              line.size() > 40 && line.compare(line.size() - 9, 9, " 16 16 50") == 0)
            return true;
        return false;
      },
      5000))
      << "no game sent";
  session.waitUntilStill(session.main().window, 3000);

  // The challenger moves first: a click on a hidden cell goes to bob.
  ASSERT_TRUE(session.input().click(cell(5, 7)));
  EXPECT_TRUE(receives("senddata bob VREQ MINEDUEL PLAY 5 7"));
  session.waitUntilStill(session.main().window, 3000);
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/MineDuelTest.Game.png");

  // The game's input line sits under the chat pane, right of the grid.
  MainLayout main = session.main();
  Point input{main.window.x + main.window.width - 150, main.pageBottom() - 2 * MainLayout::Gap -
                                                            MainLayout::Line / 2};
  ASSERT_TRUE(session.input().click(input));
  ASSERT_TRUE(session.typeLine("good game"));
  EXPECT_TRUE(receives("senddata bob VREQ MINEDUEL TELL good game"));
}

// A partner's 100 x 100 grid: the grid fits beside the panes, so the game's input line and the
// grid's "Leave" strip stay on screen and answer the pointer.
TEST_F(MineDuelDesktopTest, AHundredByHundredGridLeavesInputAndLeaveReachable) {
  ASSERT_TRUE(fromServer("[data] bob VREQ MINEDUEL START 1"));
  ASSERT_TRUE(session.input().click(session.main().inputLine()));
  session.waitUntilStill(session.main().window, 3000);
  ASSERT_TRUE(session.typeLine("/mine ok"));
  ASSERT_TRUE(receives("senddata bob VACK MINEDUEL OK"));
  ASSERT_TRUE(fromServer("[data] bob VREQ MINEDUEL INIT 7 100 100 500"));
  MainLayout main = session.main();
  session.waitUntilStill(main.window, 3000);
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/MineDuelTest.BigGrid.png");

  Point input{main.window.x + main.window.width - 100,
              main.pageBottom() - 2 * MainLayout::Gap - MainLayout::Line / 2};
  ASSERT_TRUE(session.input().click(input));
  ASSERT_TRUE(session.typeLine("big one"));
  EXPECT_TRUE(receives("senddata bob VREQ MINEDUEL TELL big one"));

  // Down the grid's left edge, the grey "Leave" strip is the last grey under the cells.
  Rect edge{main.window.x + 3, main.pageTop(), 1, main.pageBottom() - main.pageTop()};
  ScreenImage column = session.display().grab(edge);
  int last = column.height() - 1;
  while (last > 0 && column.at(0, last) != 0x808080) --last;
  ASSERT_LT(last, column.height() - 4) << "the grid runs past the page";
  ASSERT_GT(last, 30);
  ASSERT_TRUE(session.input().click({main.window.x + 12, main.pageTop() + last - 8}));
  EXPECT_TRUE(receives("senddata bob VREQ MINEDUEL STOP"));
}

}  // namespace
