#include <gtest/gtest.h>

#include <cstring>

#include "host/EventList.h"
#include "host/EventsFile.h"
#include "plugins/NevChat/NevChatRules.h"
#include "plugins/NevChat/tests/SessionProbe.h"

namespace {

class NevChatEventsTest : public ::testing::Test {
 protected:
  void SetUp() override { session.getSettings().login.assign("alice"); }
  FakeHost host;
  SessionProbe session;
};

struct Shown {
  const char* event;
  const char* line;
  const char* printed;  // "colour/font text"
};

TEST_F(NevChatEventsTest, EventsAreShownInTheirColourAndFont) {
  const Shown cases[] = {
      {"welcome", "<Nev> Welcome to the test server", "system/block"},
      {"emote", "* bob waves", "emote/normal"},
      {"youshout", "You shout: hi", "shout/normal"},
      {"youtell", "You tell bob: hi", "yourtell/normal"},
      {"tell", "bob tells you: hi", "tell/normal"},
      {"you", "You invite bob.", "you/normal"},
      {"block", "  Login : bob", "normal/block"},
      {"infosep", "-----", "separator/block"},
      {"notloggedin", "<Nev> carol is not logged in.", "system/normal"},
      {"chggroup", "Your group is now User.", "system/normal"},
      {"finger", "<Nev> Finger bob", "system/block"},
      {"JOIN", "You join the channel Dessin.", "channel/normal"},
      {"nosuchevent", "???", "normal/normal"},
  };
  for (const Shown& c : cases) {
    session.clear();
    session.event(c.event, c.line);
    EXPECT_EQ(std::string(c.printed) + " " + c.line + "|", session.allPrints()) << c.event;
  }
}

TEST_F(NevChatEventsTest, EventsChangeTheNickListAndTheOwnState) {
  session.event("comein", "--> bob comes in.", {{"nick", "bob"}});
  session.event("useraway", "<Nev> bob is now away.", {{"nick", "bob"}});
  session.event("fadechannel", "<-- bob fades away", {{"nick", "bob"}});
  session.event("kicked", "<Nev> bob has been kicked", {{"nick", "bob"}});
  EXPECT_STREQ("add bob\nstatus bob a\nchannel bob <???}\nremove bob\n", session.nickTrace.text());
  EXPECT_TRUE(host.sent.empty()) << "without Auto Infos a come-in asks nothing";

  session.event("away", "You are now away.");
  EXPECT_TRUE(session.isAway());
  EXPECT_EQ("backaway", session.background);
  session.event("back", "You are back.");
  EXPECT_FALSE(session.isAway());
  EXPECT_EQ("backgrnd", session.background);

  session.event("topicset", "<Nev> bob sets the topic: news\n", {{"topic", "news\n"}});
  EXPECT_EQ("news\n", session.topic);
  session.event("join", "You join the channel Dessin.", {{"channel", "Dessin"}});
  EXPECT_EQ("Dessin", session.channel);
  session.event("bumped", "You have been bumped to the Hall by bob.");
  EXPECT_EQ("Hall", session.channel);

  session.event("chggroup", "Your group is now User.", {{"group", "User"}});
  EXPECT_TRUE(session.isSendDataOk());
  session.event("chggroup", "Your group is now banned.", {{"group", "banned"}});
  EXPECT_FALSE(session.isSendDataOk()) << "refusing groups compare ignoring case";

  session.getSettings().sockDefault = 1;
  session.event("servermoved", "<Nev> Server moved", {{"server", "10.0.0.1"}, {"port", "4778"}});
  ASSERT_EQ(1u, host.servers.size());
  EXPECT_EQ("10.0.0.1", host.servers[0].host);
  EXPECT_EQ(4778, host.servers[0].port);
  EXPECT_EQ(1, host.servers[0].flag);

  session.getSettings().autoInfos = 1;
  session.event("comein", "--> carol comes in.", {{"nick", "carol"}});
  EXPECT_EQ("who all\n", host.sent);
  EXPECT_EQ(1, session.getWhoToSwallow());
}

TEST_F(NevChatEventsTest, TimeIsShownThenSkippedExceptForPrivateDataAndSwallowedWho) {
  session.event("shout", "12:00:01 bob shouts: hi", {{"nevtime", "12:00:01 "}});
  EXPECT_EQ("timestamp/block 12:00:01 |shout/normal bob shouts: hi|", session.allPrints());

  session.clear();
  session.event("shout", "x", {{"nevtime", "12:00:01 "}});
  EXPECT_EQ("timestamp/block 12:00:01 |", session.allPrints()) << "a stamp longer than the line";

  session.clear();
  session.event("vdatas", "12:00:01 [data] bob VACK what",
                {{"nevtime", "12:00:01 "}, {"nick", "bob"}, {"request", "NOPE"}});
  EXPECT_EQ("", session.allPrints());

  NevChatTestAccess::setState(session, 1, 0, 1);
  session.clear();
  session.event("whobegin", "12:00:01 === Who list ===", {{"nevtime", "12:00:01 "}});
  session.event("wholine", "12:00:01 > bob Vornith *20m Hall User",
                {{"nevtime", "12:00:01 "},
                 {"name", "bob"},
                 {"client", "Vornith"},
                 {"idle", "*20m"},
                 {"channel", "Hall"},
                 {"group", "User"}});
  session.event("infosep", "12:00:01 -----", {{"nevtime", "12:00:01 "}});
  session.event("whoend", "12:00:01 === 1 users ===", {{"nevtime", "12:00:01 "}});
  EXPECT_EQ("", session.allPrints()) << "the session's own listing is not shown";
  EXPECT_STREQ("who bob Vg\n", session.nickTrace.text());
  EXPECT_EQ(0, session.getWhoToSwallow());

  session.event("whoend", "=== 1 users ===");
  EXPECT_EQ("system/block === 1 users ===|", session.allPrints());
  EXPECT_EQ(0, session.getWhoToSwallow());
}

TEST_F(NevChatEventsTest, HelpModeShowsEverythingAsBlockUntilItsEnd) {
  session.event("helpfor", "<Nev> Help for who:");
  EXPECT_TRUE(session.isHelpMode());
  session.event("shout", "bob shouts: hi");
  session.event("nevdatas", "<Nev> end");
  EXPECT_FALSE(session.isHelpMode());
  session.event("shout", "bob shouts: hi");
  EXPECT_EQ(
      "system/block <Nev> Help for who:|normal/block bob shouts: hi|system/block <Nev> end|"
      "shout/normal bob shouts: hi|",
      session.allPrints());
}

TEST_F(NevChatEventsTest, SentencesAreMarkedByWhoSaysThemAndWhetherTheyNameUs) {
  const std::pair<const char*, const char*> cases[][2] = {
      {{"alice", "<alice> hi"}, {"yourtext/fromyou", ""}},
      {{"bob", "<bob> hello ALICE!"}, {"withyou/withyou", ""}},
      {{"bob", "<bob> hello alicex"}, {"normal/normal", ""}},
  };
  for (const auto& c : cases) {
    session.clear();
    session.event("sentence", c[0].second, {{"nick", c[0].first}});
    EXPECT_EQ(std::string(c[1].first) + " " + c[0].second + "|", session.allPrints());
  }
}

TEST_F(NevChatEventsTest, MessageLinesShowEachPartInBlock) {
  session.event("msgline", "#1 2024-01-31 bob : hi",
                {{"numeric", "1"}, {"msgtime", "2024-01-31"}, {"nick", "bob"}, {"text", "hi"}});
  EXPECT_EQ("numeric/block 1 |walltime/block 2024-01-31 |wallnick/block bob : |normal/block hi|",
            session.allPrints());
}

TEST_F(NevChatEventsTest, RulesForIdleValuesWordsAndGroups) {
  const std::pair<const char*, char> idles[] = {
      {"*20m", 'g'}, {"*3m", 'a'}, {"2h", 'g'}, {"1d", 'g'}, {"3m", ' '},
      {"15m", 'g'},  {"14m", ' '}, {"", ' '},   {"*", 'a'},
  };
  for (const auto& idle : idles) EXPECT_EQ(idle.second, whoStatus(idle.first)) << idle.first;

  EXPECT_TRUE(holdsWholeWord("alice", "Alice"));
  EXPECT_TRUE(holdsWholeWord("hi, alice.", "alice"));
  EXPECT_FALSE(holdsWholeWord("malice and alice", "alice")) << "only the first occurrence";
  EXPECT_FALSE(holdsWholeWord("alice2", "alice"));
  EXPECT_FALSE(holdsWholeWord("anything", "")) << "an empty login names nobody";
  EXPECT_TRUE(groupRefusesData("NOGROUP"));
  EXPECT_FALSE(groupRefusesData("User"));
}

TEST_F(NevChatEventsTest, LoginDialogueUsesSavedValuesOrAsksTheUser) {
  session.getSettings().login.assign("");
  session.getSettings().password.assign("secret");
  session.event("login", "<Nev> Login: ");
  EXPECT_TRUE(host.sent.empty());
  EXPECT_TRUE(session.isInputEnabled()) << "no saved login: the user types it";

  NevChatTestAccess::setState(session, 0, 0, 0);
  session.event("getpass", "<Nev> Password: ");
  EXPECT_EQ("secret\n", host.sent);
  EXPECT_FALSE(session.isInputEnabled()) << "the saved password answers; input stays off";

  session.event("invalidpass", "<Nev> Invalid password !");
  EXPECT_TRUE(session.isInputEnabled());
  EXPECT_STREQ("", session.getSettings().password.text());

  host.clearSent();
  session.event("wellogin", "<Nev> Welcome alice, you are logged in.", {{"login", "alice"}});
  EXPECT_STREQ("alice", session.getSettings().login.text());
  EXPECT_EQ("Hall", session.channel);
  EXPECT_EQ("set client Vornith 2.00\nwho all\n", host.sent);
  EXPECT_EQ(1, session.getWhoToSwallow());
  EXPECT_FALSE(session.isSendDataOk());

  session.event("wholine", "> alice Vornith 0m Hall Register",
                {{"name", "ALICE"}, {"idle", "0m"}, {"group", "Register"}});
  EXPECT_FALSE(session.isSendDataOk());
  session.event("wholine", "> alice Vornith 0m Hall User",
                {{"name", "alice"}, {"idle", "0m"}, {"group", "User"}});
  EXPECT_TRUE(session.isSendDataOk()) << "the own who line tells the group";
}

TEST_F(NevChatEventsTest, EventsThatPrintLeaveOneSearchRecordEach) {
  session.event("shout", "bob shouts: hi");
  session.event("vdatas", "[data] bob VACK x", {{"request", "NOPE"}});
  session.event("emote", "* bob waves");
  auto& history = session.getSearchHistory();
  ASSERT_NE(nullptr, history.headNode());
  const HistoryRecord& first = history.headNode()->value;
  EXPECT_STREQ("bob shouts: hi", first.text);
  EXPECT_EQ(0, first.start);
  EXPECT_EQ(14, first.length);
  ASSERT_NE(nullptr, history.headNode()->next) << "nothing recorded for the silent event";
  const HistoryRecord& second = history.headNode()->next->value;
  EXPECT_STREQ("* bob waves", second.text);
  EXPECT_EQ(15, second.start) << "after the held-back line break";
  EXPECT_EQ(nullptr, history.headNode()->next->next);
}

// The server's lines through the host's event list and the default events file.
TEST_F(NevChatEventsTest, ServerLinesReachTheSessionThroughTheEventsFile) {
  EventList events;
  ASSERT_TRUE(loadEventsFile(events, NEVCHAT_EVENTS_FILE));
  session.getSettings().login.assign("");
  session.getSettings().password.assign("pw");
  const char* lines[] = {
      "12:00:00 <Nev> Login: ",
      "12:00:01 <Nev> Password: ",
      "12:00:02 <Nev> Welcome alice, you are logged in.\n",
      "12:00:03 === Who list ===\n",
      "12:00:03 > alice Vornith 0m Hall User\n",
      "12:00:03 === 1 users ===\n",
      "12:00:04 [data] bob VREQ PING\n",
      "12:00:05 <bob> hi alice\n",
  };
  for (const char* line : lines) {
    EventRecord record;
    const char* name = events.match(line, record);
    ASSERT_NE(nullptr, name) << line;
    session.onEvent(1, name, &record);
  }
  EXPECT_TRUE(session.isInputEnabled());
  EXPECT_EQ("pw\nset client Vornith 2.00\nwho all\nsenddata bob VACK PONG\n", host.sent);
  EXPECT_STREQ("alice", session.getSettings().login.text());
  EXPECT_EQ(0, session.getWhoToSwallow());
  EXPECT_EQ("timestamp/block 12:00:05 ", session.prints[session.prints.size() - 2]);
  EXPECT_EQ("withyou/withyou <bob> hi alice\n", session.prints.back());
}

}  // namespace
