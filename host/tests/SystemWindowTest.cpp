// The system window: its menus, plug-in tabs and hot keys, the menu bar kept by title, the
// window state stored on closing, and requests of clients that are gone.
#include "host/SystemWindow.h"

#include "host/ClientList.h"
#include "host/Host.h"
#include "host/PlugsManagers.h"
#include "host/SystemPluginsSession.h"
#include "host/SystemSettings.h"
#include "host/tests/ConsolePane.h"

namespace {

// System plug-ins that take one message and one key, and note that their setup was asked for.
class FakeSystemSession : public SystemPluginsSession {
 public:
  explicit FakeSystemSession(PlugsManagers& managers) : SystemPluginsSession(managers) {}
  bool onWindowMessage(MSG* msg) override { return msg->message == WM_USER + 77; }
  bool onCheckKeyPressed(int key) override { return key == 'P'; }
  void onSetupOpen() override { calls.push_back("setup"); }
  Lines calls;
};

class ManagerHooks : public PlugsHooks {
 public:
  void showManagerWindow() override { calls.push_back("manager"); }
  Lines calls;
};

// A started toolkit, a fresh working folder and the host's settings object; the window is made
// by each test (settings first: the window reads them when it is built).
class SystemWindowTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    if (!GetClassInfoExA(nullptr, "RichEdit20A", &info)) GTEST_SKIP() << "no RichEdit20A";
    here.reset(new InFolder);
    systemSettings = new SystemSettings();
  }
  void TearDown() override {
    vorntest::clearKeyStates();
    systemPluginsSession = nullptr;  // the objects these point at lived in the test body
    plugsManagers = nullptr;
    clientList = nullptr;
    delete window;
    systemWindow = nullptr;
    delete systemSettings;
    systemSettings = nullptr;
    dropQuit();
    here.reset();
    ToolkitTest::TearDown();
  }
  // Takes the quit message that closing posts; true when there was one.
  static bool dropQuit() {
    MSG message;
    bool found = false;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
    return found;
  }
  void open() {
    window = new SystemWindow();
    systemWindow = window;
    root->addChild(window);
    ShowWindow(window->getHwnd(), SW_SHOW);
  }
  HWND hwnd() { return window->getHwnd(); }
  int selected() { return window->getTabs().getSelected(); }
  bool press(int key, bool ctrl = false, bool shift = false) {
    vorntest::setKeyState(VK_CONTROL, ctrl);
    vorntest::setKeyState(VK_SHIFT, shift);
    return window->checkKeyPressed(key);
  }
  std::string tabTitle(int index) {
    char text[256] = {};
    window->getTabs().getPageTitle(index, text, sizeof text);
    return text;
  }
  bool tabHighlighted(int index) {
    TCITEMA item = {};
    item.mask = TCIF_STATE;
    item.dwStateMask = TCIS_HIGHLIGHTED;
    SendMessageA(window->getTabs().getHwnd(), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return (item.dwState & TCIS_HIGHLIGHTED) != 0;
  }
  Lines barTitles() {
    Lines titles;
    HMENU bar = GetMenu(hwnd());
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
      char text[256] = {};
      GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
      titles.push_back(text);
    }
    return titles;
  }
  // Which of the tab style items 15 to 18 is checked.
  int checkedStyle() {
    HMENU styles = GetSubMenu(GetSubMenu(GetMenu(hwnd()), 0), 7);
    for (int id = 15; id <= 18; ++id)
      if (GetMenuState(styles, id, MF_BYCOMMAND) == MF_CHECKED) return id;
    return 0;
  }

  std::unique_ptr<InFolder> here;
  SystemWindow* window = nullptr;
};

TEST_F(SystemWindowTest, MenuChecksFollowTheSettingsAndCommandsReachTheirOwners) {
  systemSettings->alwaysOnTop = true;
  systemSettings->tabStyle = 2;
  ManagerHooks hooks;
  SdkFunctions table = {};
  PlugsManagers managers(&table, ".\\Vornith.ini", &hooks);
  FakeSystemSession session(managers);
  plugsManagers = &managers;
  systemPluginsSession = &session;
  open();
  EXPECT_EQ(32, window->nextCommandId());
  EXPECT_TRUE(window->getSystemMenu().isChecked(2));
  EXPECT_EQ(17, checkedStyle());
  EXPECT_EQ(&window->getOutput(), static_cast<SystemOutput*>(getConsole()));

  printSystem("some text");
  EXPECT_TRUE(window->onCommand(1));
  EXPECT_EQ(0, GetWindowTextLengthA(window->getOutput().getHwnd()));
  window->onCommand(3);
  window->onCommand(4);
  EXPECT_EQ(Lines{"manager"}, hooks.calls);
  EXPECT_EQ(Lines{"setup"}, session.calls);
  window->onCommand(18);
  EXPECT_EQ(3, window->getTabs().getTabStyle());
  EXPECT_EQ(18, checkedStyle());
  EXPECT_TRUE(window->onCommand(77)) << "an id no client owns does nothing";
  // The system plug-ins see messages and keys first.
  EXPECT_EQ(0, SendMessageA(hwnd(), WM_USER + 77, 0, 0));
  EXPECT_TRUE(press('P'));
  window->onCommand(5);
  EXPECT_EQ(nullptr, GetMenu(hwnd()));
  EXPECT_FALSE(systemSettings->showSystemMenu);
}

TEST_F(SystemWindowTest, HotKeysCyclePluginTabsAndNeverSelectTheSystemPage) {
  open();
  // One page only: every cycling key is taken and the "System" page stays.
  for (int key : {VK_F12 - 1, VK_F12}) {
    EXPECT_TRUE(press(key)) << key;
    EXPECT_TRUE(press(VK_TAB, true, key == VK_F12));
    EXPECT_EQ(0, selected()) << key;
  }
  EXPECT_FALSE(press(VK_TAB));
  EXPECT_FALSE(press('A', true));
  HWND one = window->addTab("one");
  EXPECT_EQ(1, selected()) << "the first plug-in tab comes to the front";
  HWND two = window->addTab("two");
  EXPECT_EQ(1, selected()) << "later tabs leave the selection";
  const struct {
    int key;
    bool ctrl, shift;
    int expected;
  } steps[] = {{VK_F12, false, false, 2},     {VK_F12, false, false, 1},
               {VK_F12 - 1, false, false, 2}, {VK_F12 - 1, false, false, 1},
               {VK_TAB, true, true, 2},       {VK_TAB, true, false, 1}};
  for (const auto& step : steps) {
    EXPECT_TRUE(press(step.key, step.ctrl, step.shift));
    EXPECT_EQ(step.expected, selected()) << step.key;
  }
  // From the "System" page the cycle enters the plug-in tabs at either end.
  window->getTabs().select(0);
  window->nextTab();
  EXPECT_EQ(1, selected());
  window->getTabs().select(0);
  window->previousTab();
  EXPECT_TRUE(window->isTabSelected(two));
  EXPECT_FALSE(window->isTabSelected(one));
}

TEST_F(SystemWindowTest, PluginTabsAreKeyedByTheirHandlesAndUnknownHandlesDoNothing) {
  open();
  HWND one = window->addTab("one");
  HWND two = window->addTab("two");
  ASSERT_TRUE(IsWindow(one) && IsWindow(two));
  // Handed back to the plug-in: the toolkit's procedure no longer sees its messages.
  EXPECT_NE(reinterpret_cast<LONG_PTR>(toolkitWindowProc), GetWindowLongA(one, GWL_WNDPROC));
  window->highlightTab(one, true);  // the selected tab: ignored
  EXPECT_FALSE(tabHighlighted(1));
  window->highlightTab(two, true);
  EXPECT_TRUE(tabHighlighted(2));
  window->selectTab(two);
  EXPECT_FALSE(tabHighlighted(2)) << "selecting a tab removes its highlight";
  window->setTabText(one, "renamed");
  EXPECT_EQ("renamed", tabTitle(1));
  window->removeTab(one);
  EXPECT_FALSE(IsWindow(one));
  for (HWND gone : {one, window->getOutput().getHwnd(), static_cast<HWND>(nullptr)}) {
    window->removeTab(gone);
    window->selectTab(gone);
    window->highlightTab(gone, true);
    window->setTabText(gone, "x");
    EXPECT_FALSE(window->isTabSelected(gone));
  }
  // A page maker that makes nothing leaves no tab behind.
  EXPECT_EQ(nullptr,
            window->addTabWithFactory("empty", [](HINSTANCE, HWND) -> HWND { return nullptr; }));
  EXPECT_EQ(2, window->getTabs().getPageCount());
  EXPECT_EQ("System", tabTitle(0));
  EXPECT_EQ("two", tabTitle(1));
}

TEST_F(SystemWindowTest, MenusAreRemovedByTitleFromTheRightIgnoringCase) {
  open();
  Menu alpha(false), beta(false), shouting(false);
  window->addMenu("alpha", &alpha, 9);
  window->addMenu("Beta", &beta, 9);
  window->addMenu("ALPHA", &shouting, 9);
  EXPECT_EQ(59, window->nextCommandId());
  // The left "alpha" client's removal takes "ALPHA"'s menu.
  window->removeMenu("alpha");
  EXPECT_EQ((Lines{"System", "alpha", "Beta"}), barTitles());
  window->removeMenu("nobody");
  window->removeMenu(nullptr);
  window->removeMenu("beta");
  EXPECT_EQ((Lines{"System", "alpha"}), barTitles());
  EXPECT_EQ(59, window->nextCommandId()) << "ids handed out are never given again";
}

TEST_F(SystemWindowTest, ClosingStoresTheWindowStateAndPostsQuit) {
  for (bool quitItem : {false, true}) {
    open();
    window->move(30, 40, 500, 320);
    if (quitItem) window->maximize();
    window->onCommand(16);  // top tabs
    window->onCommand(2);   // always on top
    if (quitItem)
      window->onCommand(0);
    else
      SendMessageA(hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(window->isCreated());
    EXPECT_TRUE(dropQuit());
    EXPECT_EQ(nullptr, getConsole()) << "the console is let go with its pane";
    EXPECT_EQ(quitItem, systemSettings->maximized);
    EXPECT_EQ(30, systemSettings->windowLeft);
    EXPECT_EQ(320, systemSettings->windowHeight);
    EXPECT_TRUE(systemSettings->alwaysOnTop);
    EXPECT_EQ(1, systemSettings->tabStyle);
    delete window;
    window = nullptr;
    systemSettings->alwaysOnTop = false;
  }
}

TEST_F(SystemWindowTest, CtrlKey222TogglesTheMenuBarFromConsoleAndCommandLine) {
  open();
  HMENU bar = GetMenu(hwnd());
  ASSERT_NE(nullptr, bar);
  for (HWND from : {window->getOutput().getHwnd(), window->getInput().getHwnd()}) {
    vorntest::setKeyState(VK_CONTROL, true);
    SendMessageA(from, WM_KEYDOWN, VK_OEM_7, 1);
    EXPECT_EQ(nullptr, GetMenu(hwnd()));
    SendMessageA(from, WM_KEYDOWN, VK_OEM_7, 1);
    EXPECT_EQ(bar, GetMenu(hwnd()));
    EXPECT_TRUE(systemSettings->showSystemMenu);
    vorntest::clearKeyStates();
  }
  SetWindowTextA(window->getInput().getHwnd(), "/HideMenu now");
  window->getInput().onEnter();
  EXPECT_EQ(nullptr, GetMenu(hwnd()));
}

// A capital typed into the console lands in the command line; Ctrl keeps keys in the console.
TEST_F(SystemWindowTest, CharactersTypedIntoTheConsoleGoToTheCommandLineUnlessCtrlIsHeld) {
  open();
  SetForegroundWindow(hwnd());
  HWND console = window->getOutput().getHwnd(), line = window->getInput().getHwnd();
  SetFocus(console);
  SendMessageA(console, WM_KEYDOWN, VK_CONTROL, 1);
  SendMessageA(console, WM_CHAR, 3, 1);
  SendMessageA(console, WM_KEYUP, VK_CONTROL, 0xC0000001);
  EXPECT_EQ(console, GetFocus());
  SendMessageA(console, WM_KEYDOWN, VK_SHIFT, 1);
  SendMessageA(console, WM_CHAR, 'H', 1);
  EXPECT_EQ(line, GetFocus());
}

TEST_F(SystemWindowTest, RequestsOfClientsNotInTheListAreOnlyFreed) {
  // A pointer that must never be used: a client that was killed while its records waited.
  Client* gone = reinterpret_cast<Client*>(static_cast<uintptr_t>(0x10));
  ClientList list;
  open();
  for (ClientList* clients : {static_cast<ClientList*>(nullptr), &list}) {
    clientList = clients;
    for (int kind : {0, 1, 2, 3, 4, 9}) {
      ConnectionRequest* request = ConnectionRequest::create(kind, gone, "bytes", 5);
      EXPECT_EQ(
          0, SendMessageA(hwnd(), ConnectionRequestMessage, 0, reinterpret_cast<LPARAM>(request)));
    }
    window->dispatchRequest(
        ConnectionRequest::create(ConnectionRequest::Closed, nullptr, nullptr, 0));
    window->dispatchRequest(nullptr);
  }
  // Freed records leave nothing behind for the leak checker of the sanitizer build.
  EXPECT_TRUE(window->isCreated());
}

}  // namespace
