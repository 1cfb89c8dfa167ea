// A chat output scrolled back by the wheel or the scroll bar stays in place while lines arrive,
// and follows them again once scrolled back to the end.
#include <ctime>

#include "tests/desktop/DesktopTest.h"

namespace {

class ScrollTest : public DesktopTest {
 protected:
  ScreenImage grab(const Rect& area) { return session.display().grab(area); }
  ScreenImage text() { return grab(session.main().outputText()); }
  void settle() { session.waitUntilStill(session.main().output(), 3000); }

  // Another user's lines, as the server relays them; done when the scroll bar shows them (its
  // thumb shrinks) and the output is still.
  void say(int from, int count) {
    Rect bar = session.main().scrollBar();
    ScreenImage before = grab(bar);
    for (int i = from; i < from + count; ++i)
      session.server().inject(DesktopSession::Nick, ChatServer::stampOf(std::time(nullptr)) +
                                                        "<bob> line " + std::to_string(i) + "\n");
    DesktopSession::waitFor([&] { return grab(bar) != before; }, 3000);
    settle();
  }
};

TEST_F(ScrollTest, WheelScrolledOutputStaysInPlaceAndTheEndFollowsAgain) {
  say(1, 120);
  Point over = session.main().output().centre();
  ScreenImage atEnd = text();
  ASSERT_TRUE(session.input().wheel(over, 5));
  settle();
  ScreenImage back = text();
  ASSERT_TRUE(back != atEnd) << "the wheel did not scroll the output back";

  say(121, 20);
  EXPECT_TRUE(text() == back) << "new lines moved the scrolled-back output";

  ASSERT_TRUE(session.input().wheel(over, -60));
  settle();
  ScreenImage end = text();
  say(141, 20);
  EXPECT_TRUE(text() != end) << "back at the end, the output did not follow new lines";
}

TEST_F(ScrollTest, ScrollBarScrolledOutputStaysInPlaceAndTheEndFollowsAgain) {
  say(1, 120);
  MainLayout main = session.main();
  ScreenImage atEnd = text();
  ASSERT_TRUE(session.input().click(main.scrollBarTop(), 1, 2));  // two pages up
  settle();
  ScreenImage back = text();
  ASSERT_TRUE(back != atEnd) << "the scroll bar did not scroll the output back";

  say(121, 20);
  EXPECT_TRUE(text() == back) << "new lines moved the scrolled-back output";

  // Pages down through the trough, then the last lines through the down arrow.
  ASSERT_TRUE(session.input().click(main.scrollBarBottom(), 1, 6));
  ASSERT_TRUE(session.input().click(main.scrollDownArrow(), 1, 10));
  settle();
  ScreenImage end = text();
  say(141, 20);
  EXPECT_TRUE(text() != end) << "back at the end, the output did not follow new lines";
}

}  // namespace
