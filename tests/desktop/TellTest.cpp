// The tell add-in on a desktop: a tell opens its partner's tab, a click on the tab and typing
// into its input line answers the partner, and Escape closes the tab.
#include "tests/desktop/DesktopTest.h"

namespace {

class TellTabsTest : public DesktopTest {
 protected:
  void SetUp() override {
    session.addClientSettings("Addins=NevTell\n", "");
    ASSERT_TRUE(session.start()) << session.why();
  }
  // Where the third tab, the partner's, sits in the strip (after "System" and the chat tab).
  Rect partnerTab() {
    Rect strip = session.main().tabStrip();
    return Rect{strip.x + 145, strip.y + 4, 30, strip.height - 8};
  }
  ScreenImage grab(const Rect& area) { return session.display().grab(area); }
};

TEST_F(TellTabsTest, ATellOpensATabWhoseInputLineAnswersAndEscapeClosesIt) {
  ScreenImage noTab = grab(partnerTab());
  ASSERT_TRUE(fromServer("bob tells you: are you there?"));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return grab(partnerTab()) != noTab; }, 5000))
      << "no tab for bob";
  session.waitUntilStill(session.main().window, 3000);

  ASSERT_TRUE(session.input().click(partnerTab().centre()));
  session.waitUntilStill(session.main().window, 3000);
  ASSERT_TRUE(session.input().click(session.main().inputLine()));
  ASSERT_TRUE(session.typeLine("Yes, I am here!"));
  EXPECT_TRUE(receives(".t bob Yes, I am here!"));
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/TellTabsTest.TabOpen.png");

  ASSERT_TRUE(session.input().keys({"Escape"}));
  EXPECT_TRUE(DesktopSession::waitFor([&] { return grab(partnerTab()) == noTab; }, 5000))
      << "bob's tab is still there";
  // The program lives on: the chat input still talks to the server.
  ASSERT_TRUE(session.input().click(session.main().chatTab()));
  ASSERT_TRUE(session.input().click(session.main().inputLine()));
  ASSERT_TRUE(session.typeLine("still alive"));
  EXPECT_TRUE(receives("still alive"));
}

}  // namespace
