// The whiteboard add-in on a desktop: "join Dessin" typed in the chat input opens the channel
// board, a drag with the mouse sends its segments to the server, and the board shows them once
// the server sends them back. The channel board goes when the user leaves the channel without
// asking (another user bumps them to the Hall) and when the connection closes: a drag where the
// board was then sends nothing into the channel the user is in.
#include <string>

#include "outside/tests/TestClient.h"
#include "tests/desktop/DesktopTest.h"

namespace {

class WhiteboardTest : public DesktopTest {
 protected:
  void SetUp() override {
    session.addClientSettings("Addins=v2draw\n", "");
    ASSERT_TRUE(session.start()) << session.why();
  }
  // The segment lines the server received from the client.
  int segmentsSent() {
    int count = 0;
    for (const std::string& line : session.received()) count += line.rfind("}l ", 0) == 0;
    return count;
  }
};

TEST_F(WhiteboardTest, ADragOnTheChannelBoardIsSentAndShown) {
  MainLayout main = session.main();
  ASSERT_TRUE(session.input().click(main.inputLine()));
  ASSERT_TRUE(session.typeLine("join Dessin"));
  EXPECT_TRUE(receives("join Dessin"));
  int left = main.window.x + 100, top = main.pageTop() + 80;
  Rect row{left + 20, top, 160, 1};
  ScreenImage before = session.display().grab(row);
  // The board comes to the front, blank: wait until the page stops changing.
  session.waitUntilStill(main.window, 3000);

  ASSERT_TRUE(session.input().drag({{left, top}, {left + 100, top}, {left + 200, top},
                                    {left + 200, top + 100}}));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return segmentsSent() >= 3; }, 5000))
      << "segments sent: " << segmentsSent();
  // Back from the server, the segments are drawn: the row turns black.
  EXPECT_TRUE(DesktopSession::waitFor(
      [&] {
        ScreenImage shown = session.display().grab(row);
        return shown.countOther(0x000000) == 0;
      },
      5000))
      << "the row still has " << session.display().grab(row).countOther(0x000000)
      << " pixels that are not black; before: " << before.countOther(0x000000);
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/WhiteboardTest.Board.png");
}

class DessinCloseTest : public WhiteboardTest {
 protected:
  Rect boardRow() {
    MainLayout main = session.main();
    return Rect{main.window.x + 120, main.pageTop() + 80, 160, 1};
  }
  // Joins "Dessin" from the chat input and waits for the blank board in front.
  void openBoard() {
    MainLayout main = session.main();
    ASSERT_TRUE(session.input().click(main.inputLine()));
    ASSERT_TRUE(session.typeLine("join Dessin"));
    ASSERT_TRUE(receives("join Dessin"));
    ASSERT_TRUE(DesktopSession::waitFor(
        [&] { return session.display().grab(boardRow()).countOther(0xFFFFFF) == 0; }, 5000))
        << "no blank board";
    session.waitUntilStill(main.window, 3000);
  }
  // The board's blank row gives way to another page.
  bool boardGone() {
    return DesktopSession::waitFor(
        [&] { return session.display().grab(boardRow()).countOther(0xFFFFFF) > 0; }, 5000);
  }
  // A drag across where the board was sends no segment.
  void dragSendsNothing() {
    int before = segmentsSent();
    Rect row = boardRow();
    ASSERT_TRUE(session.input().drag({{row.x, row.y}, {row.x + 80, row.y}, {row.x + 150, row.y}}));
    DesktopSession::waitFor([&] { return segmentsSent() > before; }, 1500);
    EXPECT_EQ(before, segmentsSent()) << "a segment went to the channel";
  }
};

TEST_F(DessinCloseTest, ABumpToTheHallClosesTheBoard) {
  openBoard();
  TestClient bob(session.server().port());
  ASSERT_TRUE(bob.login("bob"));
  bob.send("bump " + std::string(DesktopSession::Nick) + "\n");
  ASSERT_TRUE(bob.waitFor("You bump"));
  EXPECT_TRUE(boardGone());
  dragSendsNothing();
}

TEST_F(DessinCloseTest, AClosedConnectionClosesTheBoard) {
  openBoard();
  ASSERT_TRUE(session.server().drop(DesktopSession::Nick));
  EXPECT_TRUE(boardGone());
  // Connected again (F9 in the chat input), the user is in the Hall.
  ASSERT_TRUE(session.input().click(session.main().inputLine()));
  ASSERT_TRUE(session.input().keys({"F9"}));
  ASSERT_TRUE(DesktopSession::waitFor(
      [&] { return session.server().isLoggedIn(DesktopSession::Nick); }, 8000));
  session.waitUntilStill(session.main().window, 3000);
  dragSendsNothing();
}

}  // namespace
