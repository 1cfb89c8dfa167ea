// The channel board of "Dessin" on a desktop goes when the user leaves the channel without
// asking (another user bumps them to the Hall) and when the connection closes: a drag where the
// board was then sends nothing into the channel the user is in.
#include <string>

#include "tests/desktop/DesktopTest.h"
#include "outside/tests/TestClient.h"

namespace {

class DessinCloseTest : public DesktopTest {
 protected:
  void SetUp() override {
    session.addClientSettings("Addins=v2draw\n", "");
    ASSERT_TRUE(session.start()) << session.why();
  }
  int segmentsSent() {
    int count = 0;
    for (const std::string& line : session.received()) count += line.rfind("}l ", 0) == 0;
    return count;
  }
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
