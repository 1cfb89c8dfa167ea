// The font dialog of a client's setup on a desktop: it opens on the face the chat draws the
// stored font with, bold italic as stored, and a person who changes only the size keeps the
// stored face name and style.
#include <vector>

#include "host/desktop/DesktopTest.h"

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

  // Opens the setup's font page and the dialog of its first font, "Standard Font" ("normal").
  WindowId openDialog() {
    if (!session.chooseMenuItem(session.main().clientMenu(), kSetupItem)) return 0;
    WindowId window = session.waitForWindow(kSetupTitle);
    if (window == 0) return 0;
    SetupLayout setup{session.display().geometry(window)};
    Rect tree = setup.tree();
    session.input().move(session.display().screen().at(0, 0));
    session.waitUntilStill(tree, 2000);
    std::vector<int> rows = session.display().grab(tree).bands();
    if (rows.size() != kPages) return 0;
    session.input().click(tree.at(tree.width / 2, rows[kFontPage]));
    session.waitUntilStill(setup.window, 2000);
    Rect page = setup.page();
    Rect list{page.x + 8, page.y + 24, page.width - 16, page.height - 64};
    std::vector<int> items = session.display().grab(list).bands();
    if (items.empty()) return 0;
    session.input().click(list.at(40, items[0]));
    session.input().click(Point{page.x + page.width / 2, page.y + page.height - 16});  // "Setup font"
    return session.waitForWindow(kDialogTitle);
  }
};

TEST_F(FontDialogTest, ChangingOnlyTheSizeKeepsTheStoredFaceAndStyle) {
  WindowId dialog = openDialog();
  ASSERT_NE(dialog, 0u) << "no font dialog from the setup's font page";
  session.waitUntilStill(session.display().geometry(dialog), 3000);
  session.saveScreen(std::string(DESKTOP_SCREENSHOT_FOLDER) + "/FontDialogTest.Dialog.png");
  ASSERT_TRUE(session.input().keys({"alt+s", "ctrl+a"}));  // the size field
  ASSERT_TRUE(session.typeLine("14"));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return !session.display().findWindow(kDialogTitle); },
                                      3000))
      << "OK did not close the dialog";

  ASSERT_TRUE(session.chooseMenuItem(session.main().systemMenu(), kQuitItem));
  ASSERT_TRUE(session.programEnded(10000)) << "the program did not end";
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "Font normal name"), "VT100");
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "Font normal size"), "14");
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "Font normal style"), "3");
}

}  // namespace
