// The system window: its menus, plug-in tabs and hot keys, the menu bar kept by title, the
// window state stored on closing, and requests of clients that are gone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/ClientList.h"
#include "host/Console.h"
#include "host/Host.h"
#include "host/PlugsManagers.h"
#include "host/SystemPluginsSession.h"
#include "host/SystemSettings.h"
#include "host/SystemWindow.h"
#include "lib/tests/ToolkitFixture.h"
#include "platform/tests/TempFolder.h"

namespace {

// System plug-ins that take one message and one key, and note that their setup was asked for.
class FakeSystemSession : public SystemPluginsSession {
 public:
  explicit FakeSystemSession(PlugsManagers& managers) : SystemPluginsSession(managers) {}
  bool onWindowMessage(MSG* msg) override { return msg->message == WM_USER + 77; }
  bool onCheckKeyPressed(int key) override { return key == 'P'; }
  void onSetupOpen() override { calls.push_back("setup"); }
  std::vector<std::string> calls;
};

class ManagerHooks : public PlugsHooks {
 public:
  void showManagerWindow() override { calls.push_back("manager"); }
  std::vector<std::string> calls;
};

// A started toolkit, a fresh working folder and the host's settings object; the window is
// made by each test (settings first: the window reads them when it is built).
class SystemWindowTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    if (!richEditAvailable()) GTEST_SKIP() << "no RichEdit20A control in this build";
    ASSERT_FALSE(folder.path().empty());
    previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    systemSettings = new SystemSettings();
  }
  void TearDown() override {
    vorntest::clearKeyStates();
    // The objects these point at lived in the test body.
    systemPluginsSession = nullptr;
    plugsManagers = nullptr;
    clientList = nullptr;
    delete window;
    systemWindow = nullptr;
    delete systemSettings;
    systemSettings = nullptr;
    dropQuit();
    if (!previous.empty()) std::filesystem::current_path(previous);
    ToolkitTest::TearDown();
  }
  static bool richEditAvailable() {
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    return GetClassInfoExA(nullptr, "RichEdit20A", &info) != 0;
  }
  // Takes the quit message that closing posts; true when there was one.
  static bool dropQuit() {
    MSG message;
    bool found = false;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
    return found;
  }
  SystemWindow* open() {
    window = new SystemWindow();
    systemWindow = window;
    root->addChild(window);
    ShowWindow(window->getHwnd(), SW_SHOW);
    return window;
  }
  HWND hwnd() { return window->getHwnd(); }
  HWND tabsHwnd() { return window->getTabs().getHwnd(); }
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
    SendMessageA(tabsHwnd(), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return (item.dwState & TCIS_HIGHLIGHTED) != 0;
  }
  std::vector<std::string> barTitles() {
    std::vector<std::string> titles;
    HMENU bar = GetMenu(hwnd());
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
      char text[256] = {};
      GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
      titles.push_back(text);
    }
    return titles;
  }
  std::string console() {
    std::string text;
    for (const auto& run : vorntest::richEditRuns(window->getOutput().getHwnd())) text += run.text;
    return text;
  }

  TempFolder folder;
  std::filesystem::path previous;
  SystemWindow* window = nullptr;
};

// Each item of a menu as "text=id" (a sub-menu's id reads -1).
std::vector<std::string> itemsOf(HMENU menu) {
  std::vector<std::string> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[256] = {};
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    items.push_back(std::string(text) + "=" +
                    std::to_string(static_cast<int>(GetMenuItemID(menu, i))));
  }
  return items;
}

TEST_F(SystemWindowTest, IsTheTitledWindowWithTheSystemMenuAndItsIds) {
  systemSettings->alwaysOnTop = true;
  systemSettings->tabStyle = 2;
  open();
  EXPECT_EQ(hwnd(), FindWindowA("BlackHoleWindow", "Vornith 2 - Created by Morvash"));
  EXPECT_EQ(std::vector<std::string>{"System"}, barTitles());
  EXPECT_EQ(32, window->nextCommandId());
  HMENU system = GetSubMenu(GetMenu(hwnd()), 0);
  HMENU styles = GetSubMenu(system, 7);
  EXPECT_EQ((std::vector<std::string>{"Clear the system window=1", "Always on top=2", "=0",
                                      "Plugins manager...=3", "System plugins setup...=4", "=0",
                                      "Hide the system menu (ctrl+\xB2 = show/hide it)=5",
                                      "Tab Style Configuration=-1", "=0", "Quit !=0"}),
            itemsOf(system));
  EXPECT_EQ((std::vector<std::string>{"Use bottom tabs=15", "Use top tabs=16", "=0",
                                      "Use buttons=17", "Use flat buttons=18"}),
            itemsOf(styles));
  // The check marks follow the settings: on top, and the style whose id - 15 is the setting.
  EXPECT_TRUE(window->getSystemMenu().isChecked(2));
  for (int id = 15; id <= 18; ++id)
    EXPECT_EQ(id == 17, GetMenuState(styles, id, MF_BYCOMMAND) == MF_CHECKED) << id;
  EXPECT_EQ(2, window->getTabs().getTabStyle());
  EXPECT_EQ(&window->getOutput(), static_cast<SystemOutput*>(getConsole()));
}

TEST_F(SystemWindowTest, HotKeysCyclePluginTabsAndNeverSelectTheSystemPage) {
  open();
  ASSERT_EQ(1, window->getTabs().getPageCount());
  // One page only: every cycling key is taken and the "System" page stays.
  for (auto [key, ctrl, shift] :
       {std::make_tuple(VK_TAB, true, false), std::make_tuple(VK_TAB, true, true),
        std::make_tuple(VK_F12 - 1, false, false), std::make_tuple(VK_F12, false, false)}) {
    EXPECT_TRUE(press(key, ctrl, shift)) << key;
    EXPECT_EQ(0, selected()) << key;
  }
  EXPECT_FALSE(press(VK_TAB));
  EXPECT_FALSE(press(VK_OEM_7));
  EXPECT_FALSE(press('A', true));

  HWND one = window->addTab("one");
  ASSERT_NE(nullptr, one);
  EXPECT_EQ(1, selected()) << "the first plug-in tab comes to the front";
  HWND two = window->addTab("two");
  EXPECT_EQ(1, selected()) << "later tabs leave the selection";
  EXPECT_EQ("two", tabTitle(2));

  struct Step {
    int key;
    bool ctrl, shift;
    int expected;
  };
  const Step steps[] = {{VK_F12, false, false, 2},     {VK_F12, false, false, 1},
                        {VK_F12 - 1, false, false, 2}, {VK_F12 - 1, false, false, 1},
                        {VK_TAB, true, true, 2},       {VK_TAB, true, false, 1}};
  for (const Step& step : steps) {
    EXPECT_TRUE(press(step.key, step.ctrl, step.shift));
    EXPECT_EQ(step.expected, selected()) << step.key;
  }
  // From the "System" page the cycle enters the plug-in tabs at either end.
  window->getTabs().select(0);
  window->nextTab();
  EXPECT_EQ(1, selected());
  window->getTabs().select(0);
  window->previousTab();
  EXPECT_EQ(2, selected());
  EXPECT_TRUE(window->isTabSelected(two));
  EXPECT_FALSE(window->isTabSelected(one));
}

TEST_F(SystemWindowTest, PluginTabsAreKeyedByTheirHandles) {
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
  EXPECT_TRUE(window->isTabSelected(two));
  EXPECT_FALSE(tabHighlighted(2)) << "selecting a tab removes its highlight";
  window->setTabText(one, "renamed");
  EXPECT_EQ("renamed", tabTitle(1));

  window->removeTab(one);
  EXPECT_FALSE(IsWindow(one));
  EXPECT_EQ(2, window->getTabs().getPageCount());
  EXPECT_EQ("two", tabTitle(1));
  // A removed or unknown handle does nothing.
  HWND stranger = window->getOutput().getHwnd();
  for (HWND gone : {one, stranger, static_cast<HWND>(nullptr)}) {
    window->removeTab(gone);
    window->selectTab(gone);
    window->highlightTab(gone, true);
    window->setTabText(gone, "x");
    EXPECT_FALSE(window->isTabSelected(gone));
  }
  EXPECT_EQ(2, window->getTabs().getPageCount());
  EXPECT_EQ("System", tabTitle(0));
  // A page maker that makes nothing leaves no tab behind.
  EXPECT_EQ(nullptr,
            window->addTabWithFactory("empty", [](HINSTANCE, HWND) -> HWND { return nullptr; }));
  EXPECT_EQ(2, window->getTabs().getPageCount());
}

TEST_F(SystemWindowTest, MenusAreRemovedByTitleFromTheRight) {
  open();
  Menu alpha(false), beta(false), shouting(false);
  alpha.appendItem("a", 32);
  window->addMenu("alpha", &alpha, 9);
  window->addMenu("Beta", &beta, 9);
  window->addMenu("ALPHA", &shouting, 9);
  EXPECT_EQ(59, window->nextCommandId());
  EXPECT_EQ((std::vector<std::string>{"System", "alpha", "Beta", "ALPHA"}), barTitles());

  // Titles compare ignoring case: the left "alpha" client's removal takes "ALPHA"'s menu.
  window->removeMenu("alpha");
  EXPECT_EQ((std::vector<std::string>{"System", "alpha", "Beta"}), barTitles());
  window->removeMenu("nobody");
  window->removeMenu(nullptr);
  window->removeMenu("beta");
  EXPECT_EQ((std::vector<std::string>{"System", "alpha"}), barTitles());
  EXPECT_EQ(59, window->nextCommandId()) << "ids handed out are never given again";
}

TEST_F(SystemWindowTest, ClosingStoresTheWindowStateAndPostsQuit) {
  enum Way { CloseBox, QuitItem };
  for (Way way : {CloseBox, QuitItem}) {
    SCOPED_TRACE(way == CloseBox ? "close box" : "Quit !");
    systemSettings->inputHeight = 30;
    open();
    window->move(30, 40, 500, 320);
    if (way == QuitItem) window->maximize();
    window->onCommand(16);  // top tabs
    window->onCommand(2);   // always on top
    if (way == CloseBox)
      SendMessageA(hwnd(), WM_CLOSE, 0, 0);
    else
      window->onCommand(0);
    EXPECT_FALSE(window->isCreated());
    EXPECT_TRUE(dropQuit());
    EXPECT_EQ(nullptr, getConsole()) << "the console is let go with its pane";
    EXPECT_EQ(way == QuitItem, systemSettings->maximized);
    EXPECT_EQ(30, systemSettings->windowLeft);
    EXPECT_EQ(40, systemSettings->windowTop);
    EXPECT_EQ(500, systemSettings->windowWidth);
    EXPECT_EQ(320, systemSettings->windowHeight);
    EXPECT_EQ(30, systemSettings->inputHeight);
    EXPECT_TRUE(systemSettings->alwaysOnTop);
    EXPECT_EQ(1, systemSettings->tabStyle);
    delete window;
    window = nullptr;
    systemSettings->alwaysOnTop = false;
  }
}

TEST_F(SystemWindowTest, MenuCommandsReachTheirOwners) {
  ManagerHooks hooks;
  SdkFunctions table = {};
  PlugsManagers managers(&table, ".\\Vornith.ini", &hooks);
  FakeSystemSession session(managers);
  plugsManagers = &managers;
  systemPluginsSession = &session;
  open();
  printSystem("some text");
  EXPECT_TRUE(window->onCommand(1));
  EXPECT_EQ("", console());
  window->onCommand(3);
  window->onCommand(4);
  EXPECT_EQ(std::vector<std::string>{"manager"}, hooks.calls);
  EXPECT_EQ(std::vector<std::string>{"setup"}, session.calls);
  window->onCommand(18);
  EXPECT_EQ(3, window->getTabs().getTabStyle());
  HMENU styles = GetSubMenu(GetSubMenu(GetMenu(hwnd()), 0), 7);
  for (int id = 15; id <= 18; ++id)
    EXPECT_EQ(id == 18, GetMenuState(styles, id, MF_BYCOMMAND) == MF_CHECKED) << id;
  EXPECT_TRUE(window->onCommand(77)) << "an id no client owns does nothing";
  window->onCommand(5);
  EXPECT_EQ(nullptr, GetMenu(hwnd()));
  EXPECT_FALSE(systemSettings->showSystemMenu);

  // The system plug-ins see messages and keys first.
  EXPECT_EQ(0, SendMessageA(hwnd(), WM_USER + 77, 0, 0));
  EXPECT_TRUE(press('P'));
  window->onCommand(0);
  EXPECT_TRUE(dropQuit());
}

TEST_F(SystemWindowTest, CtrlKey222TogglesTheMenuBarFromConsoleAndCommandLine) {
  open();
  SetForegroundWindow(hwnd());
  HMENU bar = GetMenu(hwnd());
  ASSERT_NE(nullptr, bar);
  int round = 0;
  for (HWND from : {window->getOutput().getHwnd(), window->getInput().getHwnd()}) {
    SCOPED_TRACE(round++);
    vorntest::setKeyState(VK_CONTROL, true);
    SendMessageA(from, WM_KEYDOWN, VK_OEM_7, 1);
    EXPECT_EQ(nullptr, GetMenu(hwnd()));
    EXPECT_FALSE(systemSettings->showSystemMenu);
    SendMessageA(from, WM_KEYDOWN, VK_OEM_7, 1);
    EXPECT_EQ(bar, GetMenu(hwnd()));
    EXPECT_TRUE(systemSettings->showSystemMenu);
    vorntest::clearKeyStates();
  }
  // Typed as commands too, in any case.
  SetWindowTextA(window->getInput().getHwnd(), "/HideMenu now");
  window->getInput().onEnter();
  EXPECT_EQ(nullptr, GetMenu(hwnd()));
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
  clientList = nullptr;
  // Freed records leave nothing behind for the leak checker of the sanitizer build.
  EXPECT_TRUE(window->isCreated());
}

}  // namespace
