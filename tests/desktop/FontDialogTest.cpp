// The font dialog of a client's setup on a desktop: it opens on the face the chat draws the
// stored font with, bold italic as stored, and a person who changes only the size keeps the
// stored face name and style.
#include <vector>

#include "tests/desktop/DesktopTest.h"

namespace {

using WindowId = DesktopDisplay::WindowId;

const char* const kSetupTitle = "Client's setup window";
const char* const kDialogTitle = "Select Font";
const int kSetupItem = 4;  // of the client's menu
const int kQuitItem = 7;   // of the System menu
const size_t kPages = 7;
const size_t kFontPage = 2;  // "Font setup" in the page tree

class FontDialogTest : public DesktopTest {
 protected:
  void SetUp() override {
    session.addClientSettings(
        "", "Font normal name=VT100\nFont normal size=9\nFont normal style=3\n");
    DesktopTest::SetUp();
  }

  // Opens the setup window on its font page; the rows of the font list's items.
  bool openFontPage() {
    if (!session.chooseMenuItem(session.main().clientMenu(), kSetupItem)) return false;
    WindowId window = session.waitForWindow(kSetupTitle);
    if (window == 0) return false;
    SetupLayout setup{session.display().geometry(window)};
    Rect tree = setup.tree();
    session.input().move(session.display().screen().at(0, 0));
    session.waitUntilStill(setup.window, 2000);
    std::vector<int> rows = session.display().grab(tree).bands();
    if (rows.size() != kPages) return false;
    page = setup.page();
    list = Rect{page.x + 8, page.y + 24, page.width - 16, page.height - 64};
    ScreenImage before = session.display().grab(list);
    session.input().click(tree.at(tree.width / 2, rows[kFontPage]));
    DesktopSession::waitFor([&] { return session.display().grab(list) != before; }, 2000);
    session.waitUntilStill(setup.window, 2000);
    items = session.display().grab(list).bands();
    return items.size() >= 2;
  }

  // Selects the item, presses "Setup font" and answers the dialog with a new size.
  ::testing::AssertionResult resize(size_t item, const std::string& size) {
    ScreenImage before = session.display().grab(list);
    bool selected = false;
    for (int tries = 0; tries < 3 && !selected; ++tries) {
      session.input().click(list.at(40, items[item]));
      selected = DesktopSession::waitFor(
          [&] { return session.display().grab(list) != before; }, 2000);
    }
    if (!selected) return ::testing::AssertionFailure() << "item " << item << " was not selected";
    session.waitUntilStill(list, 1000);
    session.input().click(Point{page.x + page.width / 2, page.y + page.height - 16});
    WindowId dialog = session.waitForWindow(kDialogTitle);
    if (dialog == 0) return ::testing::AssertionFailure() << "no font dialog for item " << item;
    session.waitUntilStill(session.display().geometry(dialog), 3000);
    session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/FontDialogTest.Item" +
                       std::to_string(item) + ".png");
    session.input().keys({"alt+s", "ctrl+a"});  // the size field
    session.typeLine(size);
    if (!DesktopSession::waitFor([&] { return !session.display().findWindow(kDialogTitle); },
                                 3000))
      return ::testing::AssertionFailure() << "OK did not close the dialog";
    return ::testing::AssertionSuccess();
  }

  Rect page{}, list{};
  std::vector<int> items;
};

// "Standard Font" is stored bold italic; "Font of your 'standart' text" keeps its regular
// default, whose style in the drawing family has a name of its own ("Book").
TEST_F(FontDialogTest, ChangingOnlyTheSizeKeepsTheStoredFaceAndStyle) {
  ASSERT_TRUE(openFontPage()) << "no font page in the client's setup";
  ASSERT_TRUE(resize(0, "14"));
  ASSERT_TRUE(resize(1, "12"));

  ASSERT_TRUE(session.chooseMenuItem(session.main().systemMenu(), kQuitItem));
  ASSERT_TRUE(session.programEnded(10000)) << "the program did not end";
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "Font normal name"), "VT100");
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "Font normal size"), "14");
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "Font normal style"), "3");
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "Font fromyou name"), "VT100");
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "Font fromyou size"), "12");
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "Font fromyou style"), "0");
}

}  // namespace
