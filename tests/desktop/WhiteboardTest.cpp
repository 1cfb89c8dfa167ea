// The whiteboard add-in on a desktop: "join Dessin" typed in the chat input opens the channel
// board, a drag with the mouse sends its segments to the server, and the board shows them once
// the server sends them back.
#include <string>

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
    for (const std::string& line : session.received()) count += line.rfind("}l 0 ", 0) == 0;
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

}  // namespace
