// The setup pages of the in/out filters NevLine and NevTimeStamp, as a person uses them: each
// opens from the client's setup window, a click on a check button changes it, and the choice
// is in Plugs.ini once the program has quit.
#include <vector>

#include "tests/desktop/DesktopTest.h"

namespace {

using WindowId = DesktopDisplay::WindowId;

const char* const kSetupTitle = "Client's setup window";
const int kSetupItem = 4;  // of the client's menu
const int kQuitItem = 7;   // of the System menu
// Below the page's caption and its rule, where the controls begin.
const int kCaptionHeight = 24;
// The page tree, items sorted: the in/out group holds the two filters that have a page.
const std::vector<std::string> kPages = {
    "Add-ins plugin's setup", "Color setup", "Font setup",  "In/Out plugin's setup", "NevLine",
    "NevTimeStamp",           "Main plugin's setup", "NevChat", "Network setup"};

int rowOf(const std::string& page) {
  for (size_t i = 0; i < kPages.size(); ++i)
    if (kPages[i] == page) return static_cast<int>(i);
  return -1;
}

class FiltersTest : public DesktopTest {
 protected:
  void SetUp() override {
    session.addClientSettings("Inout=NevLine NvtFilter NevTimeStamp\n", "");
    DesktopTest::SetUp();
  }

  WindowId openSetup() {
    if (!session.chooseMenuItem(session.main().clientMenu(), kSetupItem)) return 0;
    return session.waitForWindow(kSetupTitle);
  }

  // Clicks the tree item of the page and waits until the page shows.
  bool showPage(const SetupLayout& setup, const std::string& page) {
    Rect tree = setup.tree();
    session.input().move(session.display().screen().at(0, 0));
    session.waitUntilStill(tree, 2000);
    std::vector<int> rows = session.display().grab(tree).bands();
    if (rows.size() != kPages.size() || rowOf(page) < 0) return false;
    ScreenImage before = session.display().grab(setup.page());
    session.input().click(tree.at(tree.width / 2, rows[static_cast<size_t>(rowOf(page))]));
    DesktopSession::waitFor([&] { return session.display().grab(setup.page()) != before; }, 2000);
    return session.waitUntilStill(setup.window, 2000);
  }

  // The page's left edge where the check boxes' squares sit, below the caption.
  Rect checkStrip(const SetupLayout& setup) {
    Rect page = setup.page();
    return Rect{page.x + 6, page.y + kCaptionHeight, 14, page.height - kCaptionHeight - 8};
  }
  // The rows that show something in that strip (squares, or the first letters of a label),
  // from the page's top.
  std::vector<int> checkRows(const SetupLayout& setup) {
    std::vector<int> rows = session.display().grab(checkStrip(setup)).bands();
    for (int& row : rows) row += kCaptionHeight;
    return rows;
  }
  Point checkAt(const SetupLayout& setup, int row) {
    return Point{setup.page().x + 13, setup.page().y + row};
  }
};

TEST_F(FiltersTest, SetupPagesTakeAClickAndKeepItAfterQuit) {
  WindowId window = openSetup();
  ASSERT_NE(window, 0u) << "the client's menu did not open its setup window";
  SetupLayout setup{session.display().geometry(window)};

  // NevTimeStamp: the three buttons are one choice; "No timestamp" replaces the default.
  ASSERT_TRUE(showPage(setup, "NevTimeStamp")) << "no page tree of " << kPages.size() << " items";
  std::vector<int> buttons = checkRows(setup);
  ASSERT_EQ(buttons.size(), 3u) << "the page shows " << buttons.size() << " check buttons";
  ScreenImage before = session.display().grab(checkStrip(setup));
  ASSERT_TRUE(session.input().click(checkAt(setup, buttons[2])));
  ASSERT_TRUE(DesktopSession::waitFor(
      [&] { return session.display().grab(checkStrip(setup)) != before; }, 2000))
      << "the click changed no button";

  // NevLine: the check box goes off and the tab size becomes 8.
  ASSERT_TRUE(showPage(setup, "NevLine"));
  std::vector<int> rows = checkRows(setup);
  ASSERT_GE(rows.size(), 2u) << "no check box and tab size line";
  before = session.display().grab(checkStrip(setup));
  ASSERT_TRUE(session.input().click(checkAt(setup, rows[0])));
  ASSERT_TRUE(DesktopSession::waitFor(
      [&] { return session.display().grab(checkStrip(setup)) != before; }, 2000));
  Rect page = setup.page();
  ASSERT_TRUE(session.input().click(Point{page.x + page.width * 2 / 3, page.y + rows[1]}));
  ASSERT_TRUE(session.input().keys({"End", "BackSpace"}) && session.input().type("8"));

  // "Close" under the tree hands the pages' choices to the plug-ins; quitting saves them.
  Rect tree = setup.tree();
  ASSERT_TRUE(session.input().click(tree.at(tree.width / 2, tree.height + 20)));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return !session.display().findWindow(kSetupTitle); },
                                      3000))
      << "\"Close\" did not close the setup window";
  ASSERT_TRUE(session.chooseMenuItem(session.main().systemMenu(), kQuitItem));
  ASSERT_TRUE(session.programEnded(10000)) << "the program did not end";
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "NevTimeStamp State"), "2");
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "NevLine Tab2Space"), "Off");
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "NevLine TabSize"), "8");
}

}  // namespace
