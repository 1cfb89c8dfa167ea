// The skin's owner-drawn bar items on a desktop: the bar shows the three captions on the bar
// colour, hovering "Edit" frames it in the selection colours, and a click on it picks it.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "host/desktop/DesktopTest.h"

namespace {

const uint32_t kBarFace = 0xF0F0F0;
const uint32_t kSelectionBorder = 0x0078D7;

// Columns of the bar holding dark (text) pixels, grouped into words by gaps of 4 columns.
struct Word {
  int left = 0, right = 0, top = 1000, bottom = -1;
};

bool dark(uint32_t rgb) { return ((rgb >> 16) & 0xFF) < 0x80 && ((rgb >> 8) & 0xFF) < 0x80; }

std::vector<Word> wordsOf(const ScreenImage& bar) {
  std::vector<Word> words;
  int lastInk = -100;
  for (int x = 0; x < bar.width(); ++x) {
    for (int y = 0; y < bar.height(); ++y) {
      if (!dark(bar.at(x, y))) continue;
      if (x - lastInk > 4) words.push_back(Word{x, x});
      Word& word = words.back();
      word.right = x;
      word.top = std::min(word.top, y);
      word.bottom = std::max(word.bottom, y);
      lastInk = x;
    }
  }
  return words;
}

class SkinMenuBarTest : public DesktopTest {
 protected:
  void SetUp() override { ASSERT_TRUE(session.start()) << session.why(); }
  bool printed(const std::string& wanted) {
    std::ifstream in(output);
    std::string line;
    while (std::getline(in, line))
      if (line == wanted) return true;
    return false;
  }
  // Beside the screenshots' folder, which may not exist yet.
  std::string folder = DESKTOP_SCREENSHOT_FOLDER;
  std::string output = folder.substr(0, folder.rfind('/')) + "/SkinMenuBarTest.out";
};

TEST_F(SkinMenuBarTest, BarShowsTheSkinnedCaptionsHighlightsAndPicksEdit) {
  ChildOptions options;
  options.environment = session.environment();
  options.outputFile = output;
  std::remove(output.c_str());
  ChildProcess host;
  ASSERT_TRUE(host.start({SKINMENUHOST_PATH}, options));
  DesktopDisplay::WindowId window = session.waitForWindow("skin menu host", 10000);
  ASSERT_NE(window, 0u) << "no host window";
  ASSERT_TRUE(DesktopSession::waitFor([&] { return printed("ready"); }, 5000));
  Rect inside = session.display().geometry(window);
  Rect barArea{inside.x, inside.y, std::min(inside.width, 300), 20};
  session.waitUntilStill(barArea, 3000);

  ScreenImage bar = session.display().grab(barArea);
  EXPECT_EQ(bar.commonest(), kBarFace);
  std::vector<Word> words = wordsOf(bar);
  ASSERT_EQ(words.size(), 3u) << "File, Edit, Help";
  for (const Word& word : words) EXPECT_GE(word.bottom - word.top, 6) << "a caption, not a mark";
  EXPECT_EQ(bar.countOther(kSelectionBorder), static_cast<long>(bar.width()) * bar.height());

  int editX = (words[1].left + words[1].right) / 2;
  ASSERT_TRUE(session.input().move(barArea.at(editX, 10)));
  ASSERT_TRUE(DesktopSession::waitFor([&] {
    bar = session.display().grab(barArea);
    return bar.at(editX, 0) == kSelectionBorder;
  }, 5000)) << "Edit is not framed";
  int fileX = (words[0].left + words[0].right) / 2;
  EXPECT_NE(bar.at(fileX, 0), kSelectionBorder);
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/SkinMenuBarTest.Hot.png");

  ASSERT_TRUE(session.input().click(barArea.at(editX, 10)));
  EXPECT_TRUE(DesktopSession::waitFor([&] { return printed("picked Edit"); }, 5000));
}

}  // namespace
