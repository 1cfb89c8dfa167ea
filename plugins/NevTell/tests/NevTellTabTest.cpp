#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/tests/TempFolder.h"
#include "plugins/NevTell/tests/TellFixture.h"

namespace {

class TellTabTest : public TellTest {
 protected:
  void SetUp() override {
    TellTest::SetUp();
    event("tell", "bob tells you: hi\n", {{"nick", "bob"}, {"text", "hi\n"}});
    bob = session.getTab("bob", false);
    ASSERT_NE(bob, nullptr);
    host.clear();
  }
  // The tab's windows are alive until the closing is carried out.
  void expectClosedSafely(HWND output, bool justClosed = true) {
    EXPECT_EQ(nullptr, session.getTab("bob", false)) << "out of the map at once";
    if (justClosed) {
      EXPECT_TRUE(IsWindow(output)) << "not deleted inside its own handler";
    }
    vorntest::pumpUntil([&] { return !IsWindow(output); }, 2000);
    EXPECT_FALSE(IsWindow(output));
    EXPECT_EQ(1u, host.removedTabs.size());
  }

  NevTellTab* bob = nullptr;
};

TEST_F(TellTabTest, EnteredLinesGoToThePartnerAsTells) {
  enter(bob, "one\r\n\r\ntwo\r\n");
  EXPECT_EQ(".t bob one\n.t bob  \n.t bob two\n", host.sent);
  host.clear();
  enter(bob, "/BEEP");
  enter(bob, "/draw");
  enter(bob, "/nothing");
  EXPECT_EQ("beep bob\n", host.sent);
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(
      "<bob> hi\r<Vornith> You need 'v2draw' to use this command !\r"
      "<Vornith> Vornith' command not found.",
      shown(bob));
  host.plugs["v2draw"] = true;
  enter(bob, "/enddraw");
  EXPECT_EQ("v2draw enddraw bob", host.firstEvent());
  enter(bob, "/clear");
  EXPECT_EQ("", shown(bob));
  EXPECT_FALSE(bob->getOutput()->styled().hasPendingNewline());
}

TEST_F(TellTabTest, CloseCommandAndEscapeWaitForTheirHandlerToReturn) {
  HWND output = bob->getOutput()->getHwnd();
  enter(bob, "/closeall");
  expectClosedSafely(output);
  event("tell", "bob tells you: again\n", {{"nick", "bob"}, {"text", "again\n"}});
  bob = session.getTab("bob", false);
  EXPECT_EQ("<bob> again", shown(bob)) << "a fresh tab";

  host.removedTabs.clear();
  output = bob->getOutput()->getHwnd();
  ShowWindow(GetParent(bob->getTabHandle()), SW_SHOW);
  ASSERT_TRUE(vorntest::pressKey(bob->getInput()->getHwnd(), VK_ESCAPE));
  expectClosedSafely(output);
}

TEST_F(TellTabTest, MenuCommandsAndDroppedFiles) {
  HWND output = bob->getOutput()->getHwnd();
  vorntest::pickNextPopupMenuItem(NevTellTab::BeepItem);
  ASSERT_TRUE(vorntest::clickAt(output, 20, 20, vorntest::RightButton));
  vorntest::pumpFor(50);
  EXPECT_EQ("beep bob\n", host.sent);
  Menu& menu = bob->getOutput()->getMenu();
  EXPECT_EQ(MF_GRAYED, GetMenuState(menu.getHandle(), NevTellTab::SendFileItem, MF_BYCOMMAND) &
                           MF_GRAYED)
      << "no vfile loaded";

  host.plugs["vfile"] = true;
  TempFolder folder;
  std::vector<std::string> paths;
  for (const char* name : {"a.txt", "b c.txt", "d.txt"}) {
    folder.write(name, "x");
    paths.push_back(folder.file(name));
  }
  ASSERT_TRUE(vorntest::dropFiles(output, paths));
  vorntest::pumpUntil([&] { return host.events.size() >= 4; }, 2000);
  ASSERT_EQ(4u, host.events.size());
  EXPECT_EQ("vfile nbfiles 3", host.events[0]);
  EXPECT_EQ("vfile sendfile bob:" + paths[1], host.events[2]);
  EXPECT_EQ(0, vorntest::openDrops());

  vorntest::pickNextPopupMenuItem(NevTellTab::CloseItem);
  ASSERT_TRUE(vorntest::clickAt(output, 20, 20, vorntest::RightButton));
  vorntest::pumpUntil([&] { return session.getTab("bob", false) == nullptr; }, 2000);
  expectClosedSafely(output, false);
}

TEST_F(TellTabTest, SettingsAreWrittenAndTheSetupPageReadsBack) {
  session.getSettings().useSquareBracket = 1;
  session.getSettings().sendLater = 0;
  session.writeSetup();
  EXPECT_EQ("1", host.settings["NevTell Use Square Bracket"]);
  HWND parent = CreateWindowExA(0, "Static", "", WS_OVERLAPPEDWINDOW, 0, 0, 500, 300, nullptr,
                                nullptr, nullptr, nullptr);
  session.createSetupWindow(parent);
  session.onSetupOpen();
  NevTellSetupPage& page = session.getSettings();
  EXPECT_TRUE(page.checks[6]->isChecked());
  page.checks[0]->setChecked(false);
  session.onSetupClose();
  EXPECT_EQ(0, page.intercept);
  EXPECT_EQ(1, page.useSquareBracket);
  DestroyWindow(parent);
}

}  // namespace
