// The settings form's skinned pop-up menu on a desktop: a right click opens it in its flat
// frame with cut corners, hovering highlights, a click on an enabled item chooses it, a click
// on a disabled one chooses nothing and Escape closes the menu.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/desktop/DesktopTest.h"

namespace {

class SkinMenuTest : public DesktopTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(DESKTOP_SCREENSHOT_FOLDER);  // the output goes beside it
    ASSERT_TRUE(session.start()) << session.why();
  }
  std::string printed() {
    std::ifstream in(output);
    std::string all, line;
    while (std::getline(in, line))
      if (line.rfind("picked ", 0) == 0) all += line + ";";
    return all;
  }
  void shoot(const std::string& name) {
    session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/SkinMenuTest." + name + ".png");
  }
  std::string output = std::string(DESKTOP_SCREENSHOT_FOLDER) + "/../SkinMenuTest.out";
};

TEST_F(SkinMenuTest, TheFlatPopupShowsCutCornersHighlightsAndChoosesOnlyEnabledItems) {
  ChildOptions options;
  options.environment = session.environment();
  options.outputFile = output;
  std::remove(output.c_str());  // the host appends
  ChildProcess host;
  ASSERT_TRUE(host.start({SKINMENUHOST_PATH}, options));
  DesktopDisplay::WindowId window = session.waitForWindow("skin menu host", 10000);
  ASSERT_NE(window, 0u) << "no host window";
  Rect inside = session.display().geometry(window);
  session.waitUntilStill(inside, 3000);
  Point at = inside.at(100, 100);
  ScreenImage before = session.display().grabScreen();
  ASSERT_TRUE(session.input().click(at, 3));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return session.display().popupCount() == 1; }, 5000));
  session.waitUntilStill(Rect{at.x, at.y, 200, 200}, 2000);
  ScreenImage shown = session.display().grabScreen();
  shoot("Open");

  // The frame's top row runs in the shadow colour to two pixels short of the window's right
  // edge; the corner beyond it shows what lay behind the menu.
  uint32_t shadow = shown.at(at.x, at.y);
  EXPECT_NE(shadow, before.at(at.x, at.y));
  int right = at.x;
  while (right + 1 < shown.width() && shown.at(right + 1, at.y) == shadow) ++right;
  int width = right - at.x + 3;
  ASSERT_GT(width, 40);
  EXPECT_EQ(shown.at(right + 2, at.y), before.at(right + 2, at.y));  // the cut corner
  uint32_t dropShadow = shown.at(right + 2, at.y + 20);
  EXPECT_NE(dropShadow, before.at(right + 2, at.y + 20));
  EXPECT_NE(dropShadow, shadow);

  // Open, the separator, Save, Close (disabled) and Quit, perhaps more below.
  ScreenImage texts = shown.cut(Rect{at.x + 30, at.y + 3, width - 36, 200});
  std::vector<int> rows = texts.bands();
  ASSERT_GE(rows.size(), 5u);
  // Points right of the captions, where a highlight shows.
  Point save{at.x + width - 10, at.y + 3 + rows[2]};
  Point close{at.x + width - 10, at.y + 3 + rows[3]};

  ASSERT_TRUE(session.input().move(save));
  ASSERT_TRUE(DesktopSession::waitFor(
      [&] { return session.display().grabScreen().at(save.x, save.y) != shown.at(save.x, save.y); },
      3000))
      << "hovering Save highlights nothing";
  ASSERT_TRUE(session.input().click(close));
  DesktopSession::waitFor([] { return false; }, 500);
  EXPECT_EQ(session.display().popupCount(), 1) << "a disabled item closed the menu";
  EXPECT_EQ(printed(), "");
  ASSERT_TRUE(session.input().click(save));
  EXPECT_TRUE(DesktopSession::waitFor([&] { return printed() == "picked Save;"; }, 5000))
      << printed();
  EXPECT_TRUE(DesktopSession::waitFor([&] { return session.display().popupCount() == 0; }, 3000));

  ASSERT_TRUE(session.input().click(at, 3));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return session.display().popupCount() == 1; }, 5000));
  ASSERT_TRUE(session.input().keys({"Escape"}));
  EXPECT_TRUE(DesktopSession::waitFor([&] { return session.display().popupCount() == 0; }, 3000));
  EXPECT_EQ(printed(), "picked Save;");
  shoot("Closed");
}

}  // namespace
