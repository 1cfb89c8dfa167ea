// The tab styles of the System menu on a desktop: top tabs, buttons and flat buttons each draw
// the strip their own way (tabs; raised buttons with the selected one pushed in; flat buttons
// with etched separators, the selected one pushed in).
#include <algorithm>

#include "tests/desktop/DesktopTest.h"

namespace {

const uint32_t kFace = 0xF0F0F0;     // the buttons' face
const uint32_t kLight = 0xFFFFFF;    // the lit edge, and the dots of a pushed-in face
const uint32_t kShadow = 0xA0A0A0;   // the shadowed edge and a separator's dark line
const uint32_t kDark = 0x696969;     // the outer shadow of a raised button

class TabStylesTest : public DesktopTest {
 protected:
  // Chooses a style from "Tab Style Configuration", the System menu's sixth item: 1 bottom
  // tabs, 2 top tabs, 3 buttons, 4 flat buttons (the arrows skip the separator).
  bool chooseStyle(int style) {
    MainLayout main = session.main();
    DesktopDisplay& display = session.display();
    int before = display.popupCount();
    if (!session.input().click(main.systemMenu())) return false;
    if (!DesktopSession::waitFor([&] { return display.popupCount() > before; }, 3000)) return false;
    std::vector<std::string> keys(6, "Down");
    keys.push_back("Right");
    keys.insert(keys.end(), static_cast<size_t>(style - 1), "Down");
    keys.push_back("Return");
    bool chosen = session.input().keys(keys) &&
                  DesktopSession::waitFor([&] { return display.popupCount() == before; }, 3000);
    session.waitUntilStill(main.window, 3000);
    return chosen;
  }
  // The row of tabs at the top of the window's inside, under the menu bar.
  ScreenImage topRow() {
    MainLayout main = session.main();
    return session.display().grab(
        Rect{main.window.x, main.pageTop(), main.window.width / 2, MainLayout::TabStrip + 2});
  }
  // Pixels of a pushed-in face: light dots with the face beside and below them.
  static long dottedPixels(const ScreenImage& image) {
    long count = 0;
    for (int y = 0; y + 1 < image.height(); ++y)
      for (int x = 0; x + 1 < image.width(); ++x)
        if (image.at(x, y) == kLight && image.at(x + 1, y) == kFace && image.at(x, y + 1) == kFace)
          ++count;
    return count;
  }
  // Etched separators: columns with a dark line of at least 8 pixels beside a light one.
  static int separators(const ScreenImage& image) {
    int found = 0;
    for (int x = 0; x + 1 < image.width(); ++x) {
      int run = 0, longest = 0;
      for (int y = 0; y < image.height(); ++y) {
        bool etched = image.at(x, y) == kShadow && image.at(x + 1, y) == kLight;
        run = etched ? run + 1 : 0;
        longest = std::max(longest, run);
      }
      if (longest >= 8) ++found;
    }
    return found;
  }
  static long pixelsOf(const ScreenImage& image, uint32_t rgb) {
    return static_cast<long>(image.width()) * image.height() - image.countOther(rgb);
  }
};

TEST_F(TabStylesTest, EachStyleFromTheSystemMenuDrawsItsOwnStrip) {
  ScreenImage bottom = topRow();
  ASSERT_TRUE(chooseStyle(2));
  ScreenImage tabs = topRow();
  EXPECT_NE(tabs, bottom) << "the tabs did not move to the top";
  EXPECT_EQ(dottedPixels(tabs), 0) << "tabs show no pushed-in face";

  ASSERT_TRUE(chooseStyle(3));
  ScreenImage buttons = topRow();
  EXPECT_NE(buttons, tabs) << "\"Use buttons\" drew the same strip as the tabs";
  EXPECT_GT(dottedPixels(buttons), 20) << "the selected button is not pushed in";
  EXPECT_GT(pixelsOf(buttons, kDark), 20) << "the other buttons are not raised";
  EXPECT_EQ(separators(buttons), 0);
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/TabStylesTest.Buttons.png");

  ASSERT_TRUE(chooseStyle(4));
  ScreenImage flat = topRow();
  EXPECT_NE(flat, buttons) << "\"Use flat buttons\" drew the same strip as the buttons";
  EXPECT_GT(dottedPixels(flat), 20) << "the selected flat button is not pushed in";
  // A raised button's edge is a line of them; the text's smoothing may give a stray one.
  EXPECT_LT(pixelsOf(flat, kDark), 5) << "flat buttons have no raised edge";
  EXPECT_GE(separators(flat), 1) << "no separator between the flat buttons";
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/TabStylesTest.FlatButtons.png");
}

}  // namespace
