// The keyboard's way into the main window's menu bar while the chat input has the focus: Alt
// with a letter opens the pull-down it names, Alt alone and F10 the first, the arrows move
// through the bar, Escape closes, and the next typed keys still reach the chat input.
#include "tests/desktop/DesktopTest.h"

namespace {

class KeyMenuTest : public DesktopTest {
 protected:
  // Presses the keys and waits until a pull-down shows.
  bool opensPullDown(const std::vector<std::string>& keys) {
    int before = session.display().popupCount();
    return session.input().keys(keys) &&
           DesktopSession::waitFor([&] { return session.display().popupCount() > before; }, 3000);
  }
  bool closesPullDowns() {
    return session.input().keys({"Escape"}) &&
           DesktopSession::waitFor([&] { return session.display().popupCount() == 0; }, 3000);
  }
};

TEST_F(KeyMenuTest, AltSAltAloneAndF10OpenTheBarAndEscapeGivesTheKeysBackToTheChatInput) {
  ASSERT_TRUE(opensPullDown({"alt+s"})) << "Alt+S opened no menu";
  ASSERT_TRUE(closesPullDowns()) << "Escape left the menu open";
  ASSERT_TRUE(opensPullDown({"alt"})) << "Alt alone opened no menu";
  ASSERT_TRUE(closesPullDowns()) << "Escape left the menu open";
  // Neither the 's' nor the Escapes reached the input: the line arrives as typed.
  ASSERT_TRUE(session.typeLine("typed after the menus closed"));
  EXPECT_TRUE(receives("typed after the menus closed"));

  // F10 opens the first menu; Right moves on to the client's menu (its first item selected),
  // whose fourth item opens the client's setup window.
  ASSERT_TRUE(opensPullDown({"F10"})) << "F10 opened no menu";
  ASSERT_TRUE(session.input().keys({"Right", "Down", "Down", "Down", "Return"}));
  EXPECT_NE(session.waitForWindow("Client's setup window"), 0u)
      << "Right did not move on to the client's menu";
}

// Alt with a drag is the window manager's move: releasing Alt after it opens no menu, and a
// plain Alt tap afterwards still does.
TEST_F(KeyMenuTest, AltReleasedAfterTheWindowManagerMovedTheWindowOpensNoMenu) {
  MainLayout layout = session.main();
  Point grab = {layout.window.x + layout.window.width / 2, layout.output().y + 20};
  ASSERT_TRUE(session.input().drag({grab, {grab.x - 30, grab.y - 20}, {grab.x - 60, grab.y - 40}},
                                   "alt"));
  ASSERT_TRUE(DesktopSession::waitFor(
      [&] { return session.main().window.x != layout.window.x; }, 3000))
      << "the window manager did not move the window";
  session.waitUntilStill(session.main().window, 1000);
  EXPECT_EQ(session.display().popupCount(), 0) << "the menu opened after a move";
  ASSERT_TRUE(opensPullDown({"alt"})) << "Alt alone opened no menu after the move";
  ASSERT_TRUE(closesPullDowns());
}

}  // namespace
