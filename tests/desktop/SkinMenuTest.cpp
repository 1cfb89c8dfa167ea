// The settings form's skinned menus on a desktop. The pop-up: a right click opens it in its
// flat frame with cut corners, hovering highlights, a click on an enabled item chooses it, a
// click on a disabled one chooses nothing and Escape closes it. The bar: the three captions on
// the bar colour, hovering "Edit" frames it in the selection colour and a click picks it.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/desktop/DesktopTest.h"

namespace {

const uint32_t kBarFace = 0xF0F0F0;
const uint32_t kSelectionBorder = 0x0078D7;

bool dark(uint32_t rgb) { return ((rgb >> 16) & 0xFF) < 0x80 && ((rgb >> 8) & 0xFF) < 0x80; }

// Columns holding dark (text) pixels, grouped into words by gaps of more than 4 columns.
struct Word {
  int left = 0, right = 0, top = 1000, bottom = -1;
};

std::vector<Word> wordsOf(const ScreenImage& bar) {
  std::vector<Word> words;
  for (int x = 0, lastInk = -100; x < bar.width(); ++x)
    for (int y = 0; y < bar.height(); ++y) {
      if (!dark(bar.at(x, y))) continue;
      if (x - lastInk > 4) words.push_back(Word{x, x});
      Word& word = words.back();
      word.right = lastInk = x;
      word.top = std::min(word.top, y);
      word.bottom = std::max(word.bottom, y);
    }
  return words;
}

class SkinMenuTest : public DesktopTest {
 protected:
  // Starts the menu host; its window's inside, or an empty rectangle.
  Rect startHost() {
    ChildOptions options;
    options.environment = session.environment();
    options.outputFile = output;
    std::remove(output.c_str());  // the host appends
    DesktopDisplay::WindowId window = 0;
    if (host.start({SKINMENUHOST_PATH}, options))
      window = session.waitForWindow("skin menu host", 10000);
    if (!window || !DesktopSession::waitFor([&] { return printed("ready") == "ready;"; }, 5000))
      return Rect{};
    return session.display().geometry(window);
  }
  // The host's printed lines that start with prefix, each ended by ';'.
  std::string printed(const std::string& prefix) {
    std::ifstream in(output);
    std::string all, line;
    while (std::getline(in, line))
      if (line.rfind(prefix, 0) == 0) all += line + ";";
    return all;
  }
  bool popups(int count) {
    return DesktopSession::waitFor([&] { return session.display().popupCount() == count; }, 5000);
  }
  // Beside the screenshots' folder, which may not exist yet; one per case, as cases run at once.
  std::string folder = DESKTOP_SCREENSHOT_FOLDER;
  std::string output = folder.substr(0, folder.rfind('/')) + "/SkinMenuTest." +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".out";
  ChildProcess host;
};

TEST_F(SkinMenuTest, TheFlatPopupShowsCutCornersHighlightsAndChoosesOnlyEnabledItems) {
  Rect inside = startHost();
  ASSERT_GT(inside.width, 0) << "no host window";
  session.waitUntilStill(inside, 3000);
  Point at = inside.at(100, 100);
  ScreenImage before = session.display().grabScreen();
  ASSERT_TRUE(session.input().click(at, 3));
  ASSERT_TRUE(popups(1));
  session.waitUntilStill(Rect{at.x, at.y, 200, 200}, 2000);
  ScreenImage shown = session.display().grabScreen();

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

  // Open, the separator, Save, Close (disabled) and Quit, perhaps more below; points right of
  // the captions, where a highlight shows.
  std::vector<int> rows = shown.cut(Rect{at.x + 30, at.y + 3, width - 36, 200}).bands();
  ASSERT_GE(rows.size(), 5u);
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
  ASSERT_TRUE(session.input().click(save));
  EXPECT_TRUE(DesktopSession::waitFor([&] { return printed("picked") == "picked Save;"; }, 5000))
      << printed("picked");
  EXPECT_TRUE(popups(0));

  ASSERT_TRUE(session.input().click(at, 3));
  ASSERT_TRUE(popups(1));
  ASSERT_TRUE(session.input().keys({"Escape"}));
  EXPECT_TRUE(popups(0));
  EXPECT_EQ(printed("picked"), "picked Save;");
}

TEST_F(SkinMenuTest, BarShowsTheSkinnedCaptionsHighlightsAndPicksEdit) {
  Rect inside = startHost();
  ASSERT_GT(inside.width, 0) << "no host window";
  Rect barArea{inside.x, inside.y, std::min(inside.width, 300), 20};
  session.waitUntilStill(barArea, 3000);
  ScreenImage bar = session.display().grab(barArea);
  EXPECT_EQ(bar.commonest(), kBarFace);
  std::vector<Word> words = wordsOf(bar);
  ASSERT_EQ(words.size(), 3u) << "File, Edit, Help";
  for (const Word& word : words) EXPECT_GE(word.bottom - word.top, 6) << "a caption, not a mark";

  int editX = (words[1].left + words[1].right) / 2;
  ASSERT_TRUE(session.input().move(barArea.at(editX, 10)));
  ASSERT_TRUE(DesktopSession::waitFor([&] {
    bar = session.display().grab(barArea);
    return bar.at(editX, 0) == kSelectionBorder;
  }, 5000)) << "Edit is not framed";
  EXPECT_NE(bar.at((words[0].left + words[0].right) / 2, 0), kSelectionBorder);
  ASSERT_TRUE(session.input().click(barArea.at(editX, 10)));
  EXPECT_TRUE(DesktopSession::waitFor([&] { return printed("picked") == "picked Edit;"; }, 5000));
}

}  // namespace
