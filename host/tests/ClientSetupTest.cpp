// A client's popup menu and the network page of its setup window: command ids per client,
// autoconnect, the events file reload, the kill question, and the server input.
#include "host/PlugsListDialog.h"
#include "host/SetupWindow.h"
#include "host/SystemWindow.h"
#include "host/tests/ClientFixture.h"

namespace {

// The system window's side of the menus: ids handed out in blocks.
class MenuBarWindow : public SystemWindow {
 public:
  int nextCommandId() override { return next; }
  void addMenu(const char*, Menu*, int idCount) override { next += idCount; }
  void removeMenu(const char*) override {}
  int next = 32;
};

class ClientMenuTest : public ClientTest {
 protected:
  void SetUp() override {
    ClientTest::SetUp();
    if (IsSkipped()) return;
    bar.reset(new MenuBarWindow);
    systemWindow = bar.get();
    loadPlugins({});
    alpha = makeClient("alpha");
  }
  void TearDown() override {
    ClientTest::TearDown();
    systemWindow = nullptr;
    bar.reset();
  }
  void command(int offset) {
    alpha->onMenuCommand(ClientTestAccess::firstCommandId(*alpha) + offset);
  }
  std::unique_ptr<MenuBarWindow> bar;
  Client* alpha = nullptr;
};

TEST_F(ClientMenuTest, EachClientOwnsNineIdsAndAutoconnectWaitsForTheConfigurationWrite) {
  Client* beta = makeClient("beta");
  for (int id : {31, 32, 40, 41, 49, 50}) {
    EXPECT_EQ(id >= 32 && id <= 40, alpha->ownsCommandId(id)) << id;
    EXPECT_EQ(id >= 41 && id <= 49, beta->ownsCommandId(id)) << id;
  }
  int item = ClientTestAccess::firstCommandId(*alpha) + 2;
  command(2);
  EXPECT_TRUE(alpha->getPopupMenu().isChecked(item));
  EXPECT_EQ("(missing)", readIni(".\\Vornith.ini", "alpha", "Autoconnect"));
  command(2);
  command(9);  // beyond the block: nothing
  EXPECT_FALSE(alpha->getPopupMenu().isChecked(item));
  clearConsole();
  command(7);
  EXPECT_EQ(Lines{"<alpha> There is no events' files : \n #ff4000"}, runs());
}

TEST_F(ClientMenuTest, KillAsksFirstAndThenDeletesOnlyTheHostSection) {
  writeIni(".\\Vornith.ini", "alpha", "Server0", "127.0.0.1:4000");
  writeIni(".\\Plugs.ini", "alpha", "Color text", "255");
  clearConsole();
  vorntest::answerNextMessageBox(IDNO);
  command(8);
  auto boxes = vorntest::shownMessageBoxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Kill Action", boxes[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION), boxes[0].flags);
  EXPECT_EQ("127.0.0.1:4000", readIni(".\\Vornith.ini", "alpha", "Server0"));
  EXPECT_EQ("", console());
  // Without a client list nobody deletes the client; the rest of the kill runs.
  ASSERT_EQ(nullptr, clientList);
  vorntest::answerNextMessageBox(IDYES);
  command(8);
  EXPECT_EQ("(missing)", readIni(".\\Vornith.ini", "alpha", "Server0"));
  EXPECT_EQ("255", readIni(".\\Plugs.ini", "alpha", "Color text"));
  EXPECT_NE(std::string::npos, console().find("Client 'alpha' has been destroyed !\n"));
}

int itemCount(ListView& list) {
  return static_cast<int>(SendMessageA(list.getHwnd(), LVM_GETITEMCOUNT, 0, 0));
}

// Both windows wait for their first opening; then they hold what was made before it, and the
// setup window takes the page of a plug-in added later.
TEST_F(ClientMenuTest, SetupAndPlugsListAreBuiltWhenFirstOpened) {
  if (lacksClass("SysListView32") || lacksClass("SysTreeView32")) GTEST_SKIP();
  fake("Main", 7).withSetupPage = true;
  fake("Later", 8).withSetupPage = true;
  writeIni(".\\Vornith.ini", "beta", "Main", "Main");
  writeIni(".\\Vornith.ini", "beta", "Server0", "127.0.0.1:1");
  Client* beta = makeClient("beta");
  beta->defineColor("Text", "Text colour", 1, 2, 3);
  beta->init();
  journal.clear();
  EXPECT_FALSE(beta->getSetupWindow()->isCreated());
  EXPECT_FALSE(beta->getPlugsListDialog()->isCreated());
  EXPECT_EQ(nullptr, ClientTestAccess::setupPages(*beta));
  int first = ClientTestAccess::firstCommandId(*beta);
  beta->onMenuCommand(first + 3);
  beta->onMenuCommand(first + 3);  // the second opening builds nothing more
  EXPECT_TRUE(IsWindowVisible(beta->getSetupWindow()->getHwnd()));
  EXPECT_EQ(Lines{"Main setup page"}, journal);
  ClientSetupPages* pages = ClientTestAccess::setupPages(*beta);
  ASSERT_NE(nullptr, pages);
  for (Window* frame : std::initializer_list<Window*>{&pages->networkFrame, &pages->colorFrame,
                                                      &pages->fontFrame, &pages->mainFrame,
                                                      &pages->addinsFrame, &pages->inOutFrame})
    EXPECT_TRUE(IsWindow(frame->getHwnd())) << frame->getName();
  EXPECT_EQ(1, itemCount(pages->serverList));
  EXPECT_EQ(1, itemCount(pages->colorList));
  EXPECT_NE(0, plug("Main")->sessions->setupPage);
  journal.clear();
  beta->addPlug(plug("Later"));
  EXPECT_TRUE(has("Later setup page"));
  beta->onMenuCommand(first + 6);
  EXPECT_TRUE(IsWindowVisible(beta->getPlugsListDialog()->getHwnd()));
  beta->term();
  EXPECT_EQ(nullptr, ClientTestAccess::setupPages(*beta));
}

TEST(ClientPortTextTest, OnlyPortsOfASocketAreAccepted) {
  const std::pair<const char*, int> cases[] = {
      // 0: refused
      {"4000", 4000}, {" 80 ", 80}, {"1", 1},     {"65535", 65535}, {"0", 0},
      {"65536", 0},   {"", 0},      {"12abc", 0}, {"-5", 0},        {"99999999999999", 0}};
  for (const auto& [text, expected] : cases) {
    int port = -1;
    EXPECT_EQ(expected != 0, parsePortText(text, &port)) << text;
    if (expected != 0) {
      EXPECT_EQ(expected, port) << text;
    }
  }
  EXPECT_FALSE(parsePortText(nullptr, nullptr));
}

class ClientNetworkPageTest : public ClientTest {
 protected:
  void SetUp() override {
    ClientTest::SetUp();
    if (IsSkipped()) return;
    if (lacksClass("SysListView32")) GTEST_SKIP() << "no list view in this build";
    loadPlugins({});
    alpha = makeClient("alpha");
    root->addChild(&window);
    window.addItem("Network setup", window.newPage());
    // Built into a page that starts hidden, as every page but the first of the setup window.
    UserWindow* page = window.newPage();
    pages = ClientTestAccess::buildNetworkPage(*alpha, page->getHwnd());
    window.addItem("A network page", page);  // sorted first, so selected and shown
    window.show();
  }
  void TearDown() override {
    if (alpha != nullptr) ClientTestAccess::dropPages(*alpha);
    window.clearPages();
    ClientTest::TearDown();
  }
  // Types the server and the port, presses "Add the server"; the box it showed, if any.
  std::string add(const char* host, const char* port) {
    pages->serverEdit.setText(host);
    pages->portEdit.setText(port);
    return press(3);
  }
  // Presses a button (with the first server selected when asked); the text of its box or "".
  std::string press(int id, bool selectFirst = false) {
    if (selectFirst) {
      LVITEMA item = {};
      item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageA(pages->serverList.getHwnd(), LVM_SETITEMSTATE, 0,
                   reinterpret_cast<LPARAM>(&item));
    }
    vorntest::clearMessageBoxes();
    vorntest::answerNextMessageBox(IDOK);  // a box never blocks the test
    alpha->onButton(id);
    auto boxes = vorntest::shownMessageBoxes();
    return boxes.empty() ? "" : boxes.back().text;
  }
  std::string label() { return textOf(pages->defaultValue.getHwnd()); }
  int serverCount() {
    alpha->getConnection().fillServerList();
    return static_cast<int>(SendMessageA(pages->serverList.getHwnd(), LVM_GETITEMCOUNT, 0, 0));
  }

  Client* alpha = nullptr;
  SetupWindow window{"setup"};
  ClientSetupPages* pages = nullptr;
};

TEST_F(ClientNetworkPageTest, AHiddenPageShowsItsLaidOutControlsOncePicked) {
  for (Window* control : std::initializer_list<Window*>{&pages->networkFrame, &pages->serverList,
                                                        &pages->serverEdit, &pages->removeButton}) {
    SCOPED_TRACE(control->getName());
    ASSERT_NE(nullptr, control->getHwnd());
    EXPECT_TRUE(IsWindowVisible(control->getHwnd()));
    RECT client = {};
    GetClientRect(control->getHwnd(), &client);
    EXPECT_GT(client.right, 20);
    EXPECT_GT(client.bottom, 10);
  }
}

TEST_F(ClientNetworkPageTest, BadInputIsToldAndChangesNothing) {
  for (const char* port : {"70000", "0", "port"})
    EXPECT_EQ("Invalid port !", add("chat.example", port)) << port;
  EXPECT_EQ("Invalid port !", add("", "4000"));
  EXPECT_EQ(0, serverCount());
  EXPECT_EQ(nullptr, alpha->getConnection().getDefaultServer());
  EXPECT_EQ("There is no selected server !", press(4));
  EXPECT_EQ("There is no selected server !", press(5));
}

TEST_F(ClientNetworkPageTest, AddedServersGoFirstAndTheLabelFollowsTheDefault) {
  EXPECT_EQ("", add("one.example", "4000"));
  EXPECT_EQ("", add("two.example", "65535"));
  EXPECT_EQ("two.example:65535", label());
  EXPECT_EQ("The server already exist !", add("one.example", "4000"));
  EXPECT_EQ(2, serverCount());
  // Sorted by text: "one.example (4000)" comes first.
  EXPECT_EQ("", press(5, true));
  EXPECT_EQ("one.example:4000", label());
  EXPECT_STREQ("one.example", alpha->getConnection().getDefaultServer()->host);
  EXPECT_EQ("", press(4, true));
  EXPECT_EQ("two.example:65535", label());
  EXPECT_EQ(1, serverCount());
  // The connection keeps its last server and says why.
  EXPECT_EQ("You can't remove the last server !", press(4, true));
  EXPECT_EQ("two.example:65535", label());
}

}  // namespace
