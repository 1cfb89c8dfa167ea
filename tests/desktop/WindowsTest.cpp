// The setup windows show every page; secondary windows and the main window have a frame with a
// title and a close box; one right-click on a nick opens one menu.
#include <algorithm>

#include "tests/desktop/DesktopTest.h"

namespace {

using WindowId = DesktopDisplay::WindowId;

const long kShownPixels = 300;  // a label or a group box alone is more; an empty page has none

// The menu items that open the windows: menu, item number, the window's title.
enum class Menu { System, Client };
struct Opener {
  Menu menu;
  int item;
  const char* title;
};
const Opener kClientSetup{Menu::Client, 4, "Client's setup window"};
const Opener kPlugsList{Menu::Client, 7, "Plugs list of 'demo'"};
const Opener kPluginsManager{Menu::System, 3, "Plugins Manager..."};
const Opener kSystemPlugins{Menu::System, 4, "System Plugins"};

class WindowsTest : public DesktopTest {
 protected:
  WindowId open(const Opener& opener) {
    MainLayout main = session.main();
    Point menu = opener.menu == Menu::System ? main.systemMenu() : main.clientMenu();
    if (!session.chooseMenuItem(menu, opener.item)) return 0;
    return session.waitForWindow(opener.title);
  }

  bool shows(const ScreenImage& area) { return area.countOther(area.commonest()) > kShownPixels; }

  // Clicks each item of the page tree in turn; names the pages that showed nothing or did
  // not replace the page before.
  std::string emptyPages(WindowId window, const std::vector<std::string>& pages) {
    SetupLayout setup{session.display().geometry(window)};
    Rect tree = setup.tree();
    session.input().move(session.display().screen().at(0, 0));  // no item under the pointer
    session.waitUntilStill(tree, 2000);
    std::vector<int> rows = session.display().grab(tree).bands();
    if (rows.size() != pages.size())
      return "the tree shows " + std::to_string(rows.size()) + " items";
    std::string faults;
    ScreenImage previous;
    for (size_t i = 0; i < pages.size(); ++i) {
      session.input().click(tree.at(tree.width / 2, rows[i]));
      if (i > 0)
        DesktopSession::waitFor([&] { return session.display().grab(setup.page()) != previous; },
                                2000);
      session.waitUntilStill(setup.window, 2000);
      ScreenImage page = session.display().grab(setup.page());
      if (!shows(page))
        faults += "\"" + pages[i] + "\" is empty; ";
      else if (page == previous)
        faults += "\"" + pages[i] + "\" did not replace the page before; ";
      previous = page;
    }
    return faults;
  }

  // What a frame from the window manager lacks: a title bar (the frame's thickest side, on top)
  // and a close box.
  std::string frameFaults(WindowId window) {
    std::vector<long> e = session.display().frameExtents(window);  // left, right, top, bottom
    std::vector<std::string> actions = session.display().allowedActions(window);
    std::string faults;
    if (e.size() != 4 || e[2] < 10 || e[2] <= e[3]) faults += "no title bar; ";
    if (std::find(actions.begin(), actions.end(), "_NET_WM_ACTION_CLOSE") == actions.end())
      faults += "no close box; ";
    return faults;
  }

  void expectFrameAndCloseBox(const Opener& opener) {
    WindowId window = open(opener);
    ASSERT_NE(window, 0u) << "\"" << opener.title << "\" did not open";
    EXPECT_EQ(frameFaults(window), "");
    ASSERT_TRUE(clickCloseBox(window)) << "no frame to find the close box in";
    EXPECT_TRUE(
        DesktopSession::waitFor([&] { return !session.display().findWindow(opener.title); }, 5000))
        << "the close box did not close the window";
  }

  // The window manager frames a new window in steps: the click waits until the frame and the
  // place read the same twice in a row.
  bool clickCloseBox(WindowId window) {
    std::vector<long> e;
    Rect last{-1, -1, -1, -1}, now;
    auto settled = [&] {
      e = session.display().frameExtents(window);
      now = session.display().geometry(window);
      bool same = now.x == last.x && now.y == last.y && now.width == last.width &&
                  now.height == last.height;
      last = now;
      return e.size() == 4 && same;
    };
    if (!DesktopSession::waitFor(settled, 3000)) return false;
    return session.input().click(FrameLayout{now, e[0], e[1], e[2], e[3]}.closeBox());
  }
};

TEST_F(WindowsTest, ClientSetupWindowShowsEveryPage) {
  WindowId window = open(kClientSetup);
  ASSERT_NE(window, 0u) << "the client's menu did not open its setup window";
  EXPECT_EQ(emptyPages(window, {"Add-ins plugin's setup", "Color setup", "Font setup",
                                "In/Out plugin's setup", "Main plugin's setup", "NevChat",
                                "Network setup"}),
            "");
}

TEST_F(WindowsTest, PluginsManagerShowsEveryPage) {
  WindowId window = open(kPluginsManager);
  ASSERT_NE(window, 0u) << "the System menu did not open the plug-ins manager";
  EXPECT_EQ(emptyPages(window, {"Addins Plugins Manager", "In/Out Plugins Manager",
                                "Main Plugins Manager", "System Plugins Manager"}),
            "");
}

// Without system plug-ins the window has no pages: its tree and "Close" show.
TEST_F(WindowsTest, SystemPluginsWindowShowsItsControls) {
  WindowId window = open(kSystemPlugins);
  ASSERT_NE(window, 0u) << "the System menu did not open the system plug-ins window";
  EXPECT_TRUE(shows(session.display().grab(session.display().geometry(window))));
}

// The dialog is one page: the two lists, the move buttons between them and the buttons below.
TEST_F(WindowsTest, PlugsListDialogShowsItsControls) {
  WindowId window = open(kPlugsList);
  ASSERT_NE(window, 0u) << "the client's menu did not open the plugs list";
  Rect r = session.display().geometry(window);
  int third = r.width / 3;
  for (int part = 0; part < 3; ++part)
    EXPECT_TRUE(shows(session.display().grab(Rect{r.x + part * third, r.y, third, r.height})))
        << "the dialog's third number " << part + 1 << " is empty";
}

TEST_F(WindowsTest, ClientSetupWindowHasAFrameWithTitleAndCloseBox) {
  expectFrameAndCloseBox(kClientSetup);
}

TEST_F(WindowsTest, PlugsListDialogHasAFrameWithTitleAndCloseBox) {
  expectFrameAndCloseBox(kPlugsList);
}

TEST_F(WindowsTest, PluginsManagerHasAFrameWithTitleAndCloseBox) {
  expectFrameAndCloseBox(kPluginsManager);
}

TEST_F(WindowsTest, SystemPluginsWindowHasAFrameWithTitleAndCloseBox) {
  expectFrameAndCloseBox(kSystemPlugins);
}

TEST_F(WindowsTest, MainWindowHasAFrameAndItsCloseBoxQuitsKeepingTheSettings) {
  WindowId window = session.display().findWindow(DesktopSession::MainTitle);
  EXPECT_EQ(frameFaults(window), "");
  ASSERT_TRUE(clickCloseBox(window));
  ASSERT_TRUE(session.programEnded(10000)) << "the program did not end";
  EXPECT_EQ(session.setting("Vornith.ini", "System", "System Tabs Style"), "0");
  EXPECT_EQ(session.setting("Vornith.ini", "demo", "Server0"),
            "127.0.0.1:" + std::to_string(session.server().port()));
  EXPECT_EQ(session.setting("Plugs.ini", "demo", "NevChat Login"), "demo");
}

// The nick list's menu alone: no second menu at once, nor after it closed.
TEST_F(WindowsTest, OneRightClickOnANickOpensOneMenu) {
  DesktopDisplay& display = session.display();
  ASSERT_EQ(display.popupCount(), 0);
  ASSERT_TRUE(session.input().click(session.main().firstNick(), 3));
  ASSERT_TRUE(DesktopSession::waitFor([&] { return display.popupCount() > 0; }, 3000))
      << "no menu opened";
  session.waitUntilStill(display.screen(), 2000);
  EXPECT_EQ(display.popupCount(), 1) << "menus open at once";

  ASSERT_TRUE(session.input().keys({"Escape"}));
  bool closed = false;
  bool reopened = false;
  DesktopSession::waitFor(
      [&] {
        if (display.popupCount() == 0)
          closed = true;
        else if (closed)
          reopened = true;
        return reopened;
      },
      1500);
  EXPECT_TRUE(closed && !reopened) << "another menu took the nick menu's place";
}

// Text is sized at 96 dots per inch whatever the X server reports, as on Windows: the menu bar
// and the tab strip look the same, pixel for pixel, on a 144-dpi screen.
TEST_F(WindowsTest, TextKeepsItsPixelSizeOnAHighResolutionScreen) {
  DesktopSession sharp;
  ASSERT_TRUE(sharp.start(144)) << sharp.why();
  MainLayout here = session.main(), there = sharp.main();
  ASSERT_EQ(here.window.width, there.window.width);  // the height gives way to a taller title
  EXPECT_TRUE(session.display().grab(here.menuBar()) == sharp.display().grab(there.menuBar()));
  EXPECT_TRUE(session.display().grab(here.tabStrip()) == sharp.display().grab(there.tabStrip()));
}

}  // namespace
