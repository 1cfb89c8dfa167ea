// The program's icon reaches the window manager: the main window carries it, and the title bar
// shows it.
#include "tests/desktop/DesktopTest.h"

namespace {

// Colours of the program's picture (host/resources/vornith.png): the bubble and its "V".
const uint32_t kBubble = 0x3A78C2;
const uint32_t kLetter = 0xFFFFFF;

long countOf(const ScreenImage& image, uint32_t rgb) {
  return static_cast<long>(image.width()) * image.height() - image.countOther(rgb);
}

class IconTest : public DesktopTest {};

TEST_F(IconTest, MainWindowCarriesTheProgramsIconAndTheTitleBarShowsIt) {
  DesktopDisplay& display = session.display();
  DesktopDisplay::WindowId window = display.findWindow(DesktopSession::MainTitle);
  ASSERT_NE(window, 0u);
  ScreenImage icon = display.windowIcon(window);
  ASSERT_TRUE(icon.width() == 32 && icon.height() == 32) << "no icon of the program's size";
  EXPECT_EQ(icon.at(0, 0), 0u) << "the corner is not transparent";
  EXPECT_EQ(icon.at(4, 12), kBubble);
  EXPECT_EQ(icon.at(16, 16), kLetter);

  // The frame's icon sits at the title bar's left end, where nothing else is the bubble's blue.
  long bubble = 0;
  EXPECT_TRUE(DesktopSession::waitFor([&] {
    std::vector<long> e = display.frameExtents(window);
    if (e.size() != 4 || e[2] < 10) return false;
    int left = static_cast<int>(e[0]), height = static_cast<int>(e[2]);
    Rect inside = display.geometry(window);
    bubble = countOf(display.grab(Rect{inside.x - left, inside.y - height, 48, height}), kBubble);
    return bubble > 20;
  }, 3000)) << "the title bar's left end shows " << bubble << " pixels of the bubble's blue";
}

}  // namespace
