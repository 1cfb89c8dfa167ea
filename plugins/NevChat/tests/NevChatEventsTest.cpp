#include <gtest/gtest.h>

#include "host/EventList.h"
#include "host/EventsFile.h"
#include "plugins/NevChat/NevChatRules.h"
#include "plugins/NevChat/tests/SessionProbe.h"

namespace {

using NevChatEventsTest = ProbeTest;

TEST_F(NevChatEventsTest, LinesAreShownInTheirColourAndFont) {
  const Vars stamp = {{"nevtime", "12:00:01 "}};
  struct Case {
    const char* event;
    const char* line;
    Vars vars;
    const char* printed;  // every print as "colour/font text|"
  };
  const Case cases[] = {
      {"emote", "* bob waves", {}, "emote/normal * bob waves|"},
      {"block", "  Login : bob", {}, "normal/block   Login : bob|"},
      {"infosep", "-----", {}, "separator/block -----|"},
      {"nosuchevent", "???", {}, "normal/normal ???|"},
      {"sentence", "<alice> hi", {{"nick", "ALICE"}}, "yourtext/fromyou <alice> hi|"},
      {"sentence", "<bob> hi ALICE!", {{"nick", "bob"}}, "withyou/withyou <bob> hi ALICE!|"},
      {"sentence", "<bob> hi alicex", {{"nick", "bob"}}, "normal/normal <bob> hi alicex|"},
      {"msgline",
       "#1 2024-01-31 bob : hi",
       {{"numeric", "1"}, {"msgtime", "2024-01-31"}, {"nick", "bob"}, {"text", "hi"}},
       "numeric/block 1 |walltime/block 2024-01-31 |wallnick/block bob : |normal/block hi|"},
      // The time stamp is shown, then skipped in the line; a stamp longer than the line too.
      {"shout", "12:00:01 bob shouts: hi", stamp,
       "timestamp/block 12:00:01 |shout/normal bob shouts: hi|"},
      {"shout", "x", stamp, "timestamp/block 12:00:01 |"},
      {"vdatas",
       "12:00:01 [data] bob VACK what",
       {{"nevtime", "12:00:01 "}, {"request", "NOPE"}},
       ""},
  };
  for (const Case& c : cases) {
    session.clear();
    session.event(c.event, c.line, c.vars);
    EXPECT_EQ(c.printed, session.allPrints()) << c.event << " " << c.line;
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
  EXPECT_EQ(std::vector<std::string>{"10.0.0.1 4778 1"}, host.servers);

  session.getSettings().autoInfos = 1;
  session.event("comein", "--> carol comes in.", {{"nick", "carol"}});
  EXPECT_EQ("who all\n", host.sent);
  EXPECT_EQ(1, session.getWhoToSwallow());
}

TEST_F(NevChatEventsTest, OwnWhoListingIsSwallowedAndTheNextOneShown) {
  const Vars stamp = {{"nevtime", "12:00:01 "}};
  NevChatTestAccess::setState(session, 1, 0, 1);
  session.event("whobegin", "12:00:01 === Who list ===", stamp);
  session.event(
      "wholine", "12:00:01 > bob Vornith *20m Hall User",
      {{"nevtime", "12:00:01 "}, {"name", "bob"}, {"client", "Vornith"}, {"idle", "*20m"}});
  session.event("infosep", "12:00:01 -----", stamp);
  session.event("whoend", "12:00:01 === 1 users ===", stamp);
  EXPECT_EQ("", session.allPrints()) << "not even the time stamps";
  EXPECT_STREQ("who bob Vg\n", session.nickTrace.text());
  EXPECT_EQ(0, session.getWhoToSwallow());

  session.event("whoend", "=== 1 users ===");
  EXPECT_EQ("system/block === 1 users ===|", session.allPrints());
  EXPECT_EQ(0, session.getWhoToSwallow());
}

TEST_F(NevChatEventsTest, HelpModeShowsEverythingAsBlockUntilItsEnd) {
  session.event("helpfor", "<Nev> Help for who:");
  session.event("shout", "bob shouts: hi");
  session.event("nevdatas", "<Nev> end");
  EXPECT_FALSE(session.isHelpMode());
  session.event("shout", "bob shouts: hi");
  EXPECT_EQ(
      "system/block <Nev> Help for who:|normal/block bob shouts: hi|system/block <Nev> end|"
      "shout/normal bob shouts: hi|",
      session.allPrints());
}

TEST_F(NevChatEventsTest, RulesForIdleValuesAndWholeWords) {
  const std::pair<const char*, char> idles[] = {
      {"*20m", 'g'}, {"*3m", 'a'}, {"2h", 'g'}, {"1d", 'g'}, {"3m", ' '},
      {"15m", 'g'},  {"14m", ' '}, {"", ' '},   {"*", 'a'},
  };
  for (const auto& idle : idles) EXPECT_EQ(idle.second, whoStatus(idle.first)) << idle.first;

  EXPECT_TRUE(holdsWholeWord("hi, ALICE.", "alice"));
  EXPECT_FALSE(holdsWholeWord("alice2", "alice"));
  EXPECT_FALSE(holdsWholeWord("malice and alice", "alice")) << "the first occurrence only";
  EXPECT_FALSE(holdsWholeWord("<bob> hi", "")) << "an empty login names nobody";
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

  session.event("wellogin", "<Nev> Welcome alice, you are logged in.", {{"login", "alice"}});
  EXPECT_EQ("Hall", session.channel);

  session.event("wholine", "> alice Vornith 0m Hall Register",
                {{"name", "ALICE"}, {"group", "Register"}});
  EXPECT_FALSE(session.isSendDataOk());
  session.event("wholine", "> alice Vornith 0m Hall User", {{"name", "alice"}, {"group", "User"}});
  EXPECT_TRUE(session.isSendDataOk()) << "the own who line tells the group";
}

TEST_F(NevChatEventsTest, EventsThatPrintLeaveOneSearchRecordEach) {
  session.event("shout", "bob shouts: hi");
  session.event("vdatas", "[data] bob VACK x", {{"request", "NOPE"}});
  session.event("emote", "* bob waves");
  std::string records;
  for (auto* node = session.getSearchHistory().headNode(); node != nullptr; node = node->next)
    records += std::string(node->value.text) + " @" + std::to_string(node->value.start) + "|";
  // The second starts after the line break held back from the first.
  EXPECT_EQ("bob shouts: hi @0|* bob waves @15|", records);
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
  EXPECT_EQ("pw\nset client Vornith 2.00\nwho all\nsenddata bob VACK PONG\n", host.sent);
  EXPECT_STREQ("alice", session.getSettings().login.text());
  EXPECT_EQ(0, session.getWhoToSwallow());
  EXPECT_EQ("withyou/withyou <bob> hi alice\n", session.prints.back());
}

}  // namespace
