#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/NicksWindow.h"
#include "plugins/NevChat/tests/SessionProbe.h"

namespace {

class NicksTest : public ChatWindowTest {
 protected:
  void SetUp() override {
    ChatWindowTest::SetUp();
    nicks = session.getNicks();
  }
  // The list as "nick/channel/client/status", in order.
  std::string list() {
    std::string out;
    for (NickEntry* e = nicks->first(); e != nullptr; e = e->next)
      out += std::string(out.empty() ? "" : " ") + e->nick + "/" + e->channel + "/" + e->client +
             e->status;
    return out;
  }
  void listing(std::initializer_list<const char*> names) {
    nicks->beginWho();
    for (const char* name : names) nicks->whoLine(name, 'V', ' ', "Hall");
    nicks->endWho();
  }
  // A point inside the line, in the list's client coordinates.
  POINT lineCentre(int line) {
    for (int y = 0; y < 300; ++y)
      if (nicks->lineAt(12, y) == line) return POINT{12, y + 3};
    return POINT{-1, -1};
  }

  NicksWindow* nicks = nullptr;
};

TEST_F(NicksTest, WhoListingsMergeInServerOrder) {
  nicks->addNick("carol");
  nicks->setPingTime("carol", 1234);
  EXPECT_EQ("carol/Hall/??", list());
  listing({"bob", "carol", "dave"});
  EXPECT_EQ("bob/Hall/V  carol/Hall/V  dave/Hall/V ", list());
  EXPECT_EQ(1234u, nicks->pingTime("CAROL")) << "an entry kept keeps its ping time";
  listing({"dave", "bob"});
  EXPECT_EQ("dave/Hall/V  bob/Hall/V ", list()) << "reordered, carol gone at the end";
  EXPECT_EQ("bob dave", std::string(session.getInput()->nickWords())) << "sorted for completion";

  nicks->beginWho();
  nicks->whoLine("dave", 'V', 'a', "Dessin");
  nicks->removeNick("bob");  // someone leaves during the listing
  nicks->whoLine("erin", 'X', 'g', "Hall");
  nicks->endWho();
  EXPECT_EQ("dave/Dessin/Va erin/Hall/Xg", list());
  nicks->whoLine("zed", 'V', ' ', "Hall");
  nicks->endWho();
  nicks->setStatus("nobody", 'a');
  nicks->setNickChannel("nobody", "x");
  nicks->removeNick("nobody");
  EXPECT_EQ("dave/Dessin/Va erin/Hall/Xg", list()) << "no listing and unknown nicks: no change";
}

// Arrivals add their nicks without sorting the list each time: Tab still completes from the
// sorted list, arrivals included.
TEST_F(NicksTest, ArrivalsReachCompletion) {
  listing({"dave", "bob"});
  nicks->addNick("zed");
  nicks->addNick("Amy");
  EXPECT_EQ("dave bob zed Amy", std::string(nicks->nickWords())) << "in the list's order";
  NevChatInputWindow* input = session.getInput();
  input->setText("hi a");
  SendMessageA(input->getHwnd(), EM_SETSEL, 4, 4);
  input->complete();
  char text[32] = {};
  GetWindowTextA(input->getHwnd(), text, sizeof text);
  EXPECT_STREQ("hi Amy", text);
  EXPECT_EQ("Amy bob dave zed", std::string(input->nickWords())) << "sorted for completion";
}

TEST_F(NicksTest, MenuActsOnTheNickItOpenedOn) {
  host.plugs["MineDuel"] = true;
  host.plugs["NevTell"] = true;
  listing({"bob", "carol"});
  POINT carol = lineCentre(1);
  struct Case {
    UINT item;
    bool sendDataOk;
    const char* sent;
    const char* event;
  };
  const Case cases[] = {
      {NicksWindow::KickItem, false, "kick carol\n", ""},
      {NicksWindow::BeepItem, false, "beep carol\n", ""},
      {NicksWindow::PingItem, false, "", ""},  // the group forbids client data
      {NicksWindow::PingItem, true, "senddata carol VREQ PING\n", ""},
      {NicksWindow::FullVersionItem, true, "senddata carol VREQ FULLVERSION\n", ""},
      {NicksWindow::ListenItem, true, "", ""},
      {NicksWindow::SendFileItem, true, "", ""},  // vfile not loaded
      {NicksWindow::MineDuelItem, true, "", "MineDuel start carol"},
      {NicksWindow::QueryItem, true, "", "NevTell query carol"},
  };
  for (const Case& c : cases) {
    host.clear();
    NevChatTestAccess::setState(session, 1, c.sendDataOk, 0);
    nicks->enableRequests(c.sendDataOk);
    vorntest::answerNextPopupMenu(c.item);
    vorntest::clickAt(nicks->getHwnd(), carol.x, carol.y, vorntest::RightButton);
    SendMessageA(nicks->getHwnd(), WM_MOUSELEAVE, 0, 0);
    vorntest::pumpFor(20);
    EXPECT_EQ(c.sent, host.sent) << c.item;
    EXPECT_EQ(c.event, host.firstEvent()) << c.item;
    EXPECT_EQ(-1, nicks->markedLine()) << "every command unmarks";
  }
  EXPECT_NE(0u, nicks->pingTime("carol")) << "Ping stores the time";
  EXPECT_EQ(0u, nicks->pingTime("bob"));
}

TEST_F(NicksTest, EntriesDrawInTheirColoursAndTheMouseMarksOne) {
  nicks->beginWho();
  nicks->whoLine("bob", 'V', 'a', "hall");
  nicks->whoLine("carol", 'X', ' ', "Dessin");
  nicks->endWho();
  EXPECT_EQ("Va bob\rX  carol\r", shown(nicks->getHwnd()));
  std::vector<COLORREF> at;  // the colour of every character
  for (const vorntest::RichTextRun& run : vorntest::richEditRuns(nicks->getHwnd()))
    at.insert(at.end(), run.text.size(), run.colour);
  ASSERT_LE(11u, at.size());
  EXPECT_EQ(host.colours["nclient"], at[0]);
  EXPECT_EQ(host.colours["nstatus"], at[1]);
  EXPECT_EQ(host.colours["nnick"], at[3]) << "channel compared ignoring case";
  EXPECT_EQ(host.colours["nother"], at[10]);

  nicks->mark(lineCentre(1));
  EXPECT_STREQ("carol", nicks->markedEntry()->nick);
  SendMessageA(nicks->getHwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, nicks->markedLine());
  nicks->mark(POINT{5, 400});
  EXPECT_EQ(-1, nicks->markedLine()) << "below the last nick nothing is marked";
  host.plugs["NevTell"] = true;
  vorntest::doubleClickAt(nicks->getHwnd(), lineCentre(0).x, lineCentre(0).y);
  EXPECT_EQ("NevTell query bob", host.firstEvent()) << "a double click queries";
}

}  // namespace
