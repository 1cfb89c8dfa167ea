// A client's popup menu and the network page of its setup window: command ids per client, the
// menu's items, autoconnect, the events file reload, the kill question, and the server input.
#include <gtest/gtest.h>

#include "host/SystemWindow.h"
#include "host/tests/ClientTestAccess.h"
#include "lib/Frame.h"

namespace {

// The system window's side of the menus: ids handed out in blocks, the titles added.
class MenuBarWindow : public SystemWindow {
 public:
  int nextCommandId() override { return next; }
  void addMenu(const char* title, Menu* popup, int idCount) override {
    titles.push_back(title);
    popups.push_back(popup);
    next += idCount;
  }
  void removeMenu(const char*) override {}
  int next = 32;
  std::vector<std::string> titles;
  std::vector<Menu*> popups;
};

class ClientMenuTest : public ClientTest {
 protected:
  void SetUp() override {
    ClientTest::SetUp();
    if (IsSkipped()) return;
    bar = new MenuBarWindow;
    systemWindow = bar;
    noPlugins();
  }
  void TearDown() override {
    ClientTest::TearDown();
    systemWindow = nullptr;
    delete bar;
  }
  void command(Client* client, int offset) {
    client->onMenuCommand(ClientTestAccess::firstCommandId(*client) + offset);
  }
  MenuBarWindow* bar = nullptr;
};

TEST_F(ClientMenuTest, EachClientOwnsNineIdsOfItsOwn) {
  Client* alpha = makeClient("alpha");
  Client* beta = makeClient("beta");
  EXPECT_EQ((std::vector<std::string>{"alpha", "beta"}), bar->titles);
  struct Case {
    int id;
    bool alpha, beta;
  };
  for (const Case& c : {Case{31, false, false}, Case{32, true, false}, Case{40, true, false},
                        Case{41, false, true}, Case{49, false, true}, Case{50, false, false}}) {
    EXPECT_EQ(c.alpha, alpha->ownsCommandId(c.id)) << c.id;
    EXPECT_EQ(c.beta, beta->ownsCommandId(c.id)) << c.id;
  }

  HMENU popup = alpha->getPopupMenu().getHandle();
  const char* items[] = {"Connect",
                         "Close",
                         "",
                         "Autoconnect",
                         "",
                         "Client setup...",
                         "Reload setup",
                         "Write setup",
                         "",
                         "Plugins list...",
                         "",
                         "Reload events file.",
                         "",
                         "Kill"};
  ASSERT_EQ(14, GetMenuItemCount(popup));
  for (int i = 0; i < 14; ++i) {
    char text[64] = {};
    GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(items[i], text) << i;
  }
  char text[64] = {};
  GetMenuStringA(popup, 40, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ("Kill", text);
}

TEST_F(ClientMenuTest, AutoconnectTogglesItsCheckAndWaitsForTheConfigurationWrite) {
  Client* alpha = makeClient("alpha");
  int item = ClientTestAccess::firstCommandId(*alpha) + 2;
  EXPECT_FALSE(alpha->getPopupMenu().isChecked(item));
  command(alpha, 2);
  EXPECT_TRUE(alpha->getPopupMenu().isChecked(item));
  EXPECT_EQ("(missing)", readIni(".\\Vornith.ini", "alpha", "Autoconnect"));
  command(alpha, 2);
  EXPECT_FALSE(alpha->getPopupMenu().isChecked(item));
  // Ids of other clients and beyond the block do nothing.
  alpha->onMenuCommand(ClientTestAccess::firstCommandId(*alpha) + 9);
  EXPECT_FALSE(alpha->getPopupMenu().isChecked(item));
}

TEST_F(ClientMenuTest, ReloadingWithoutAnEventsFileSaysSo) {
  Client* alpha = makeClient("alpha");
  clearConsole();
  command(alpha, 7);
  EXPECT_EQ("<alpha> There is no events' files : \n", console());
  auto shown = runs();
  ASSERT_EQ(1u, shown.size());
  EXPECT_NE(std::string::npos, shown[0].find("#ff4000"));  // RGB(0, 64, 255), blue first
}

TEST_F(ClientMenuTest, KillAsksFirstAndThenDeletesOnlyTheHostSection) {
  writeIni(".\\Vornith.ini", "alpha", "Server0", "127.0.0.1:4000");
  writeIni(".\\Plugs.ini", "alpha", "Color text", "255");
  Client* alpha = makeClient("alpha");
  clearConsole();

  vorntest::answerNextMessageBox(IDNO);
  command(alpha, 8);
  auto boxes = vorntest::shownMessageBoxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Kill Action", boxes[0].caption);
  EXPECT_EQ(
      "Are you sure you want to kill the client ?\n(Warning : all settings will be "
      "destroyed too !)",
      boxes[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION), boxes[0].flags);
  EXPECT_EQ(bar->getHwnd(), boxes[0].owner);
  EXPECT_EQ("127.0.0.1:4000", readIni(".\\Vornith.ini", "alpha", "Server0"));
  EXPECT_EQ("", console());

  // Without a client list nobody deletes the client; the rest of the kill runs.
  ASSERT_EQ(nullptr, clientList);
  vorntest::answerNextMessageBox(IDYES);
  command(alpha, 8);
  EXPECT_EQ("(missing)", readIni(".\\Vornith.ini", "alpha", "Server0"));
  EXPECT_EQ("255", readIni(".\\Plugs.ini", "alpha", "Color text"));
  EXPECT_NE(std::string::npos, console().find("Client 'alpha' has been destroyed !\n"));
}

TEST(ClientPortTextTest, OnlyPortsOfASocketAreAccepted) {
  struct Case {
    const char* text;
    int port;  // 0: refused
  };
  const Case cases[] = {{"4000", 4000}, {" 80 ", 80}, {"1", 1},     {"65535", 65535},
                        {"0", 0},       {"65536", 0}, {"70000", 0}, {"", 0},
                        {"abc", 0},     {"12abc", 0}, {"-5", 0},    {"99999999999999", 0}};
  for (const Case& c : cases) {
    int port = -1;
    bool accepted = parsePortText(c.text, &port);
    EXPECT_EQ(c.port != 0, accepted) << c.text;
    if (accepted) {
      EXPECT_EQ(c.port, port) << c.text;
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
    noPlugins();
    alpha = makeClient("alpha");
    page.createIn(panel);
    page.move(0, 0, 350, 280);
    pages = ClientTestAccess::buildNetworkPage(*alpha, &page);
  }
  void TearDown() override {
    if (alpha != nullptr) ClientTestAccess::dropPages(*alpha);
    ClientTest::TearDown();
  }
  // Types the server and the port, presses "Add the server"; the box it showed, if any.
  std::string add(const char* host, const char* port) {
    pages->serverEdit.setText(host);
    pages->portEdit.setText(port);
    return press(3);
  }
  // Presses a button; the text of the box it showed, "" when none.
  std::string press(int id) {
    vorntest::clearMessageBoxes();
    vorntest::answerNextMessageBox(IDOK);  // a box never blocks the test
    alpha->onButton(id);
    std::string text = lastBox();
    vorntest::clearMessageBoxes();
    return text;
  }
  std::string lastBox() {
    auto boxes = vorntest::shownMessageBoxes();
    if (boxes.empty()) return "";
    EXPECT_EQ("Server Error", boxes.back().caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONHAND), boxes.back().flags);
    return boxes.back().text;
  }
  std::string label() { return textOf(pages->defaultValue.getHwnd()); }
  void select(int index) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(pages->serverList.getHwnd(), LVM_SETITEMSTATE, index,
                 reinterpret_cast<LPARAM>(&item));
  }
  int serverCount() {
    int count = 0;
    alpha->getConnection().fillServerList();
    count = static_cast<int>(SendMessageA(pages->serverList.getHwnd(), LVM_GETITEMCOUNT, 0, 0));
    return count;
  }

  Client* alpha = nullptr;
  Frame page{"page"};
  ClientSetupPages* pages = nullptr;
};

TEST_F(ClientNetworkPageTest, BadInputIsToldAndChangesNothing) {
  EXPECT_EQ("Invalid port !", add("chat.example", "70000"));
  EXPECT_EQ("Invalid port !", add("chat.example", "0"));
  EXPECT_EQ("Invalid port !", add("chat.example", "port"));
  EXPECT_EQ("Invalid port !", add("", "4000"));
  EXPECT_EQ(0, serverCount());
  EXPECT_EQ(nullptr, alpha->getConnection().getDefaultServer());

  EXPECT_EQ("There is no selected server !", press(4));
  EXPECT_EQ("There is no selected server !", press(5));
}

TEST_F(ClientNetworkPageTest, AddedServersGoFirstAndTheLabelFollowsTheDefault) {
  EXPECT_EQ("", add("one.example", "4000"));
  EXPECT_EQ("one.example:4000", label());
  EXPECT_EQ("", add("two.example", "65535"));
  EXPECT_EQ("two.example:65535", label());
  EXPECT_STREQ("two.example", alpha->getConnection().getDefaultServer()->host);
  EXPECT_EQ("The server already exist !", add("one.example", "4000"));
  EXPECT_EQ(2, serverCount());

  // Sorted by text: "one.example (4000)" comes first.
  select(0);
  EXPECT_EQ("", press(5));
  EXPECT_EQ("one.example:4000", label());
  EXPECT_STREQ("one.example", alpha->getConnection().getDefaultServer()->host);

  select(0);
  EXPECT_EQ("", press(4));
  EXPECT_EQ("two.example:65535", label());
  EXPECT_EQ(1, serverCount());
  // The connection keeps its last server and says why.
  select(0);
  EXPECT_EQ("You can't remove the last server !", press(4));
  EXPECT_EQ("two.example:65535", label());
}

}  // namespace
