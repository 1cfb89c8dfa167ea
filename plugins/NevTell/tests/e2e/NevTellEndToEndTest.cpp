// Two clients, alice and bob, with NevChat as main plug-in and NevTell as add-in against the
// local chat server: tells open a tab per partner on both sides, the tab's input line answers,
// and "/close" and Escape close tabs while their own handlers run.
#include "host/Host.h"
#include "host/SystemWindow.h"
#include "host/tests/e2e/HostRun.h"
#include "platform/win32.h"
#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/NicksWindow.h"
#include "plugins/NevTell/NevTellInputWindow.h"
#include "plugins/NevTell/NevTellSession.h"
#include "plugins/NevTell/NevTellTab.h"
#include "tests/support/TwoClientsHost.h"

namespace {

NevTellSession* tellOf(const char* client) { return firstAddinOf<NevTellSession>(client); }

std::string paneOf(NevTellSession* session, const char* nick) {
  NevTellTab* tab = session->getTab(nick, false);
  return tab != nullptr ? paneText(tab->getOutput()->getHwnd()) : std::string("(no tab)");
}

bool hasTab(const std::string& title) {
  SystemTabs& tabs = systemWindow->getTabs();
  for (int i = 0; i < tabs.getPageCount(); ++i) {
    char text[256] = "";
    tabs.getPageTitle(i, text, sizeof text);
    if (title == text) return true;
  }
  return false;
}

class NevTellEndToEnd : public TwoClientsHost {
 protected:
  NevTellEndToEnd()
      : TwoClientsHost({{{NEVTELL_MODULE, "NevTell.vad"}},
                        "Addins=NevTell\n",
                        "[System]\nSizeX=900\nSizeY=500\n"}) {}
};

TEST_F(NevTellEndToEnd, TellsGetATabPerPartnerOnBothSides) {
  startUp(GetModuleHandleA(nullptr));
  NevChatSession* aliceChat = chatOf("alice");
  NevChatSession* bobChat = chatOf("bob");
  NevTellSession* alice = tellOf("alice");
  NevTellSession* bob = tellOf("bob");
  ASSERT_TRUE(aliceChat && bobChat && alice && bob);
  ASSERT_TRUE(wait([&] { return aliceChat->isSendDataOk() && bobChat->isSendDataOk(); }));
  EXPECT_STREQ("alice", alice->getOwnLogin());

  // A tell typed in the chat window: the writer's own tab opens in front, the reader's tab
  // opens highlighted, and the reader's chat pane does not show it.
  enter(aliceChat->getInput(), ".t bob hello bob :)");
  ASSERT_TRUE(wait([&] { return has(paneOf(bob, "alice"), "<alice> hello bob [pic]"); }))
      << paneOf(bob, "alice");
  ASSERT_TRUE(wait([&] { return has(paneOf(alice, "bob"), "<alice> hello bob [pic]"); }))
      << paneOf(alice, "bob");
  EXPECT_TRUE(hasTab("alice") && hasTab("bob"));
  EXPECT_TRUE(alice->getTab("bob", false)->isSelected());
  EXPECT_FALSE(has(paneText(bobChat->getOutput()->getHwnd()), "tells you"));
  for (const auto& run : vorntest::richEditRuns(bob->getTab("alice", false)->getOutput()->getHwnd())) {
    if (has(run.text, "<alice>")) {
      EXPECT_EQ(bob->getColor("normal"), run.colour);
    }
  }

  // bob answers in the tab's input line.
  NevTellTab* bobsTab = bob->getTab("alice", false);
  enter(bobsTab->getInput(), "fine, and you?");
  ASSERT_TRUE(wait([&] { return sent("bob", ".t alice fine, and you?"); }));
  ASSERT_TRUE(wait([&] { return has(paneOf(alice, "bob"), "<bob> fine, and you?"); }))
      << paneOf(alice, "bob");
  ASSERT_TRUE(wait([&] { return has(paneOf(bob, "alice"), "<bob> fine, and you?"); }));

  // What a person sees: bob's tell tab in front, beside the chat tabs.
  systemWindow->selectTab(bobsTab->getTabHandle());
  vorntest::pumpFor(100);
  EXPECT_TRUE(vorntest::saveScreenPng(E2E_SCREENSHOT));

  // "/close" typed in the tab and Escape pressed in the other close them; new tells reopen.
  enter(bobsTab->getInput(), "/close");
  ASSERT_TRUE(wait([&] { return !hasTab("alice"); }));
  EXPECT_EQ(nullptr, bob->getTab("alice", false));
  NevTellTab* alicesTab = alice->getTab("bob", false);
  ASSERT_TRUE(vorntest::pressKey(alicesTab->getInput()->getHwnd(), VK_ESCAPE));
  ASSERT_TRUE(wait([&] { return !hasTab("bob"); }));
  EXPECT_EQ(0, alice->tabCount());

  // The chat window's "Query" on a nick opens the tab through the host; tells follow there.
  aliceChat->getNicks()->query("bob");
  ASSERT_TRUE(wait([&] { return hasTab("bob"); }));
  EXPECT_EQ("<Vornith> Query activated.", paneOf(alice, "bob"));
  enter(aliceChat->getInput(), ".t bob still there?");
  ASSERT_TRUE(wait([&] { return has(paneOf(bob, "alice"), "<alice> still there?"); }));
  EXPECT_FALSE(has(paneOf(bob, "alice"), "hello bob")) << "a fresh tab";
  ASSERT_TRUE(wait([&] { return has(paneOf(alice, "bob"), "<alice> still there?"); }));

  closeAndShutDown();
  std::string plugs = folder.read("Plugs.ini");
  EXPECT_TRUE(has(plugs, "NevTell Intercept=")) << plugs;
}

}  // namespace
