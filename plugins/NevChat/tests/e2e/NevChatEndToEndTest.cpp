// Two NevChat clients, alice and bob, in one program folder against the local chat server:
// login, chat, tells, who listings, channels, away, requests between the clients, a group that
// refuses client data, a moved server, and shut-down with the files written afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "host/Client.h"
#include "host/ClientList.h"
#include "host/Console.h"
#include "host/Host.h"
#include "host/SetupWindow.h"
#include "host/tests/e2e/HostRun.h"
#include "host/SystemWindow.h"
#include "lib/RichEdit.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/NevChatSetupPage.h"
#include "plugins/NevChat/NicksWindow.h"
#include "tests/support/TwoClientsHost.h"

namespace {

// A rich edit's text as a person reads it, paragraph marks as line feeds.
std::string textOf(HWND richEdit) {
  std::string text;
  for (const auto& run : vorntest::richEditRuns(richEdit)) text += run.text;
  std::replace(text.begin(), text.end(), '\r', '\n');
  return text;
}

std::string consoleText() {
  RichEdit* pane = getConsole();
  return pane != nullptr ? textOf(pane->getHwnd()) : std::string();
}

std::string paneOf(NevChatSession* session) {
  RichEdit* output = session != nullptr ? session->getOutput() : nullptr;
  return output != nullptr ? textOf(output->getHwnd()) : std::string();
}

// The colour a pane draws the run holding part in (-1: not shown).
long colourOf(NevChatSession* session, const std::string& part) {
  for (const auto& run : vorntest::richEditRuns(session->getOutput()->getHwnd()))
    if (has(run.text, part)) return static_cast<long>(run.colour);
  return -1;
}

void type(NevChatSession* session, const char* line) {
  session->getInput()->setText(line);
  session->getInput()->onEnter();
}

const NickEntry* nickIn(NevChatSession* session, const char* nick) {
  for (const NickEntry* entry = session->getNicks()->first(); entry; entry = entry->next)
    if (std::string(entry->nick) == nick) return entry;
  return nullptr;
}

char statusOf(NevChatSession* session, const char* nick) {
  const NickEntry* entry = nickIn(session, nick);
  return entry != nullptr ? entry->status : '-';
}

std::vector<std::string> tabTitles() {
  std::vector<std::string> titles;
  SystemTabs& tabs = systemWindow->getTabs();
  for (int i = 0; i < tabs.getPageCount(); ++i) {
    char title[256] = "";
    tabs.getPageTitle(i, title, sizeof title);
    titles.push_back(title);
  }
  return titles;
}

bool hasTab(const std::string& title) {
  std::vector<std::string> titles = tabTitles();
  return std::find(titles.begin(), titles.end(), title) != titles.end();
}

// Brings the client's chat tab to the front, so a person could click in it.
void showTabOf(const std::string& client) {
  std::vector<std::string> titles = tabTitles();
  for (size_t i = 0; i < titles.size(); ++i)
    if (titles[i].rfind(client + " (", 0) == 0) systemWindow->getTabs().select(static_cast<int>(i));
  vorntest::pumpFor(50);
}

class NevChatEndToEnd : public TwoClientsHost {
 protected:
  NevChatEndToEnd() : TwoClientsHost({{}, "", "", "", "NevChat Display VReq=On\n"}) {}
  void TearDown() override {
    vorntest::clearPopupMenuAnswers();
    TwoClientsHost::TearDown();
  }
  int countSent(const char* nick, const std::string& prefix) {
    int count = 0;
    for (const std::string& line : server.transcript(nick)) count += line.rfind(prefix, 0) == 0;
    return count;
  }
  bool waitSent(const char* nick, const std::string& line) {
    return vorntest::pumpUntil([&] { return sent(nick, line); }, 5000);
  }
  bool waitPane(NevChatSession* session, const std::string& part) {
    return vorntest::pumpUntil([&] { return has(paneOf(session), part); }, 5000);
  }

  // Right-clicks the nick in the client's nick list and picks item from its menu.
  void pickFromNickMenu(const char* client, NevChatSession* session, const char* nick, int item) {
    showTabOf(client);
    HWND list = session->getNicks()->getHwnd();
    size_t at = textOf(list).find(nick);
    ASSERT_NE(at, std::string::npos) << textOf(list);
    vorntest::answerNextPopupMenu(static_cast<UINT>(item));
    ASSERT_TRUE(vorntest::clickRichEditAt(list, static_cast<int>(at), vorntest::RightButton));
  }
};

TEST_F(NevChatEndToEnd, TwoClientsChatAndTalkToEachOther) {
  startUp(GetModuleHandleA(nullptr));
  ASSERT_NE(clientList, nullptr);
  NevChatSession* alice = chatOf("alice");
  NevChatSession* bob = chatOf("bob");
  ASSERT_NE(alice, nullptr) << consoleText();
  ASSERT_NE(bob, nullptr) << consoleText();
  ASSERT_NE(alice->getOutput(), nullptr);

  // Login: the saved names answer the prompt, the client names itself and asks who is in;
  // the swallowed listing gives the own group, so requests are allowed.
  ASSERT_TRUE(wait([&] { return alice->isSendDataOk() && bob->isSendDataOk(); }))
      << transcriptOf("alice") << paneOf(alice);
  for (const char* nick : {"alice", "bob"}) {
    std::vector<std::string> lines = server.transcript(nick);
    ASSERT_GE(lines.size(), 3u) << nick;
    EXPECT_EQ(lines[0], nick);
    EXPECT_EQ(lines[1], "set client Vornith 2.00");
    EXPECT_EQ(lines[2], "who all");
  }
  EXPECT_TRUE(has(paneOf(alice), "<Nev> Welcome alice, you are logged in."));
  EXPECT_FALSE(has(paneOf(alice), "=== Who list ===")) << "the login listing is not shown";
  ASSERT_TRUE(wait([&] {
    return nickIn(alice, "alice") && nickIn(alice, "bob") && nickIn(bob, "alice") &&
           nickIn(bob, "bob");
  })) << alice->getNicks()->nickWords()
      << " / " << bob->getNicks()->nickWords();
  EXPECT_TRUE(hasTab("alice (Hall)") && hasTab("bob (Hall)"));

  // Chat both ways through the input lines; a line naming the reader stands out.
  type(alice, "hello bob :)");
  ASSERT_TRUE(waitPane(bob, "<alice> hello bob")) << paneOf(bob);
  EXPECT_TRUE(sent("alice", "hello bob :)"));
  EXPECT_EQ(colourOf(bob, "<alice> hello bob"), static_cast<long>(bob->getColor("withyou")));
  EXPECT_EQ(colourOf(alice, "<alice> hello bob"), static_cast<long>(alice->getColor("yourtext")));
  type(bob, "hi there, all is fine");
  ASSERT_TRUE(waitPane(alice, "<bob> hi there, all is fine")) << paneOf(alice);
  EXPECT_EQ(colourOf(alice, "<bob> hi there"), static_cast<long>(alice->getColor("normal")));

  // A tell reaches only its reader.
  type(alice, "tell bob the cake is in the oven");
  ASSERT_TRUE(waitPane(bob, "alice tells you: the cake is in the oven")) << paneOf(bob);
  EXPECT_TRUE(has(paneOf(alice), "You tell bob: the cake is in the oven"));
  EXPECT_EQ(colourOf(bob, "alice tells you"), static_cast<long>(bob->getColor("tell")));

  // What a person sees after a few lines: alice's chat in front.
  showTabOf("alice");
  EXPECT_TRUE(vorntest::saveScreenPng(E2E_SCREENSHOT));

  // Joining a channel renames the tab; bob's list follows alice there and back.
  type(alice, "join Dessin");
  ASSERT_TRUE(wait([&] { return hasTab("alice (Dessin)"); })) << paneOf(alice);
  ASSERT_TRUE(waitPane(bob, "<Nev> alice joins the channel Dessin"));
  EXPECT_EQ(std::string(nickIn(bob, "alice")->channel), "Dessin");
  type(alice, "leave");
  ASSERT_TRUE(wait([&] { return hasTab("alice (Hall)"); }));
  ASSERT_TRUE(wait([&] { return std::string(nickIn(bob, "alice")->channel) == "Hall"; }));

  // Away and back: the notices, then the status a who listing gives (a long idle time shows
  // as gone), shown this time since alice typed it.
  type(bob, "away");
  ASSERT_TRUE(wait([&] { return bob->isAway() && statusOf(alice, "bob") == 'a'; }))
      << paneOf(alice);
  EXPECT_EQ(statusOf(bob, "bob"), 'a');
  ASSERT_TRUE(server.setIdle("bob", "20m"));
  type(alice, "who all");
  ASSERT_TRUE(waitPane(alice, "=== 2 users ===")) << paneOf(alice);
  EXPECT_TRUE(has(paneOf(alice), "> bob "));
  EXPECT_EQ(statusOf(alice, "bob"), 'g');
  EXPECT_EQ(nickIn(alice, "bob")->client, 'V');
  type(bob, "back");
  ASSERT_TRUE(wait([&] { return !bob->isAway() && statusOf(alice, "bob") == ' '; }));
  EXPECT_TRUE(has(paneOf(alice), "<Nev> bob is back."));

  // Requests between the clients: ping from the nick menu, the version typed as a raw line,
  // the full version from the menu again.
  pickFromNickMenu("alice", alice, "bob", NicksWindow::PingItem);
  ASSERT_TRUE(waitPane(alice, "<Vornith> Ping : bob ! (")) << transcriptOf("alice");
  EXPECT_TRUE(sent("alice", "senddata bob VREQ PING"));
  EXPECT_TRUE(sent("bob", "senddata alice VACK PONG"));
  EXPECT_TRUE(has(paneOf(bob), "<Vornith> alice pings you !"));
  type(alice, "senddata bob VREQ VERSION");
  ASSERT_TRUE(waitSent("bob", "senddata alice VACK VERSION Vornith 2.00")) << transcriptOf("bob");
  ASSERT_TRUE(waitPane(alice, "<Vornith> bob is using Vornith 2.00")) << paneOf(alice);
  pickFromNickMenu("alice", alice, "bob", NicksWindow::FullVersionItem);
  ASSERT_TRUE(waitPane(alice, "<Vornith> End of informations.")) << paneOf(alice);
  EXPECT_TRUE(sent("alice", "senddata bob VREQ FULLVERSION"));
  EXPECT_TRUE(sent("bob", "senddata alice VACK FULLVERSION START Vornith 2.00"));
  EXPECT_TRUE(sent("bob", "senddata alice VACK FULLVERSION SUB - Main   plugin NevChat (0.10)"))
      << transcriptOf("bob");
  EXPECT_TRUE(sent("bob", "senddata alice VACK FULLVERSION END"));
  EXPECT_TRUE(has(paneOf(alice), "<Vornith> Full version informations :\n")) << paneOf(alice);
  EXPECT_TRUE(has(paneOf(alice), "<Vornith> - Main   plugin NevChat (0.10)\n"));

  // A group that refuses client data: bob notes the request and answers nothing.
  int answers = countSent("bob", "senddata ");
  ASSERT_TRUE(server.setGroup("bob", "Banned"));
  ASSERT_TRUE(wait([&] { return !bob->isSendDataOk(); })) << paneOf(bob);
  EXPECT_TRUE(has(paneOf(bob), "Your group is now Banned."));
  type(alice, "senddata bob VREQ VERSION");
  ASSERT_TRUE(waitPane(bob, "<Vornith> alice asks you informations...")) << paneOf(bob);
  // Anything bob sent in answer would reach the server before this line.
  type(bob, "still here");
  ASSERT_TRUE(waitSent("bob", "still here"));
  EXPECT_EQ(countSent("bob", "senddata "), answers) << transcriptOf("bob");
  // Nor does his nick menu ask.
  pickFromNickMenu("bob", bob, "alice", NicksWindow::PingItem);
  vorntest::pumpFor(200);
  EXPECT_EQ(countSent("bob", "senddata "), answers) << transcriptOf("bob");

  // The server says it moved: alice's client gains that server.
  ASSERT_TRUE(server.moved("alice", "127.0.0.1", 4778));
  ASSERT_TRUE(waitPane(alice, "<Nev> Server moved to 127.0.0.1 4778"));
  ASSERT_TRUE(wait([&] {
    return clientList->findClient("alice")->getConnection().findServer("127.0.0.1", 4778);
  })) << consoleText();
  EXPECT_EQ(clientList->findClient("bob")->getConnection().findServer("127.0.0.1", 4778), nullptr);

  // bob's setup window, built at its first opening, shows his saved login in NevChat's page;
  // a quit message typed there is kept once the window closes.
  Client* bobClient = clientList->findClient("bob");
  EXPECT_FALSE(bobClient->getSetupWindow()->isCreated());
  bobClient->showSetup();
  char login[64] = "";
  bob->getSettings().loginZone.getText(login, sizeof login);
  EXPECT_STREQ(login, "bob");
  bob->getSettings().quitZone.setText("bye all");
  bobClient->getSetupWindow()->onClose();

  // Shut-down: the quit lines reach the server; the settings keep the logins.
  closeAndShutDown();
  EXPECT_EQ(clientList, nullptr);
  for (int i = 0; i < 100 && (server.isLoggedIn("alice") || server.isLoggedIn("bob")); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(server.transcript("alice").back(), "quit ...") << transcriptOf("alice");
  EXPECT_EQ(server.transcript("bob").back(), "quit bye all") << transcriptOf("bob");
  std::string plugs = folder.read("Plugs.ini");
  EXPECT_TRUE(has(plugs, "[alice]\nNevChat Login=alice\n")) << plugs;
  EXPECT_TRUE(has(plugs, "[bob]\nNevChat Login=bob\n")) << plugs;
  EXPECT_TRUE(has(plugs, "NevChat Display VReq=On"));
  EXPECT_TRUE(has(plugs, "NevChat Quit=bye all"));
  std::string settings = folder.read("Vornith.ini");
  EXPECT_TRUE(has(settings, "Server0=127.0.0.1:" + std::to_string(server.port()))) << settings;
  // The server alice was sent to is remembered with her servers only.
  size_t aliceAt = settings.find("[alice]"), bobAt = settings.find("[bob]");
  size_t moved = settings.find("Server1=127.0.0.1:4778");
  EXPECT_NE(moved, std::string::npos) << settings;
  EXPECT_EQ(settings.find("Server1=127.0.0.1:4778", moved + 1), std::string::npos);
  EXPECT_TRUE(moved > aliceAt && (bobAt < aliceAt || moved < bobAt)) << settings;
  // The logs, complete once the clients are gone, tell the events found and the lines sent.
  std::string aliceLog = folder.read("alice.log");
  EXPECT_TRUE(has(aliceLog, "Event found: wellogin")) << aliceLog;
  EXPECT_TRUE(has(aliceLog, "Event found: vdatas"));
  EXPECT_TRUE(has(aliceLog, "Event found: servermoved"));
  EXPECT_TRUE(has(aliceLog, "Data to send: set client Vornith 2.00\n"));
  EXPECT_TRUE(has(aliceLog, "Data to send: senddata bob VREQ PING\n"));
  EXPECT_TRUE(has(aliceLog, "Data to send: quit ...\n"));
  std::string bobLog = folder.read("bob.log");
  EXPECT_TRUE(has(bobLog, "Event found: tell")) << bobLog;
  EXPECT_TRUE(has(bobLog, "Event found: chggroup"));
  EXPECT_TRUE(has(bobLog, "Data to send: senddata alice VACK PONG\n"));
}

}  // namespace
