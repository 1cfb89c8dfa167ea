#include <gtest/gtest.h>

#include <string>

#include "lib/HashTable.h"
#include "plugins/NevTell/tests/TellFixture.h"

namespace {

const char* const kTell = "12:00:01 bob tells you: hi there :)\n";

TEST_F(TellTest, TellsOpenTheirTabAndAreInterceptedAsSet) {
  EXPECT_EQ("@ login", host.requests.at(0));
  EXPECT_STREQ("alice", session.getOwnLogin());

  EXPECT_TRUE(event("tell", kTell,
                    {{"nevtime", "12:00:01 "}, {"nick", "bob"}, {"text", "hi there :)\n"}}));
  NevTellTab* bob = session.getTab("bob", false);
  ASSERT_NE(bob, nullptr);
  EXPECT_EQ("12:00:01 <bob> hi there [pic]", shown(bob)) << "the line break is held back";
  EXPECT_EQ(static_cast<long>(host.colours["normal"]), colourOf(bob, "<bob>"));
  EXPECT_EQ(static_cast<long>(host.colours["timestamp"]), colourOf(bob, "12:00:01"));
  EXPECT_EQ(1u, host.highlightedTabs.size());
  EXPECT_TRUE(host.selectedTabs.empty()) << "a partner's tell only highlights";

  // The own answer goes to the same tab in the own colour; a new partner's tab comes forward.
  EXPECT_TRUE(event("youtell", "You tell bob: fine\n", {{"nick", "bob"}, {"text", "fine\n"}}));
  EXPECT_EQ("12:00:01 <bob> hi there [pic]\r<alice> fine", shown(bob));
  EXPECT_EQ(static_cast<long>(host.colours["yourtext"]), colourOf(bob, "<alice>"));
  EXPECT_TRUE(host.selectedTabs.empty());
  EXPECT_TRUE(event("youtell", "You tell carol: yo\n", {{"nick", "carol"}, {"text", "yo\n"}}));
  ASSERT_EQ(1u, host.selectedTabs.size());
  EXPECT_EQ(session.getTab("carol", false)->getTabHandle(), host.selectedTabs[0]);
  EXPECT_EQ(2, session.tabCount());

  // With interception off the main window shows the tell too; timestamps can be hidden.
  host.settings["NevTell Intercept"] = "0";
  host.settings["NevTell Display Timestamp"] = "0";
  session.reloadSetup();
  EXPECT_FALSE(event("tell", kTell, {{"nevtime", "12:00:01 "}, {"nick", "bob"}, {"text", "x\n"}}));
  EXPECT_EQ("12:00:01 <bob> hi there [pic]\r<alice> fine\r<bob> x", shown(bob));
}

TEST_F(TellTest, EmotesAndSquareBracketsChangeHowATellReads) {
  host.settings["NevTell Use Square Bracket"] = "1";
  host.settings["NevTell Display Emoticons"] = "0";
  session.reloadSetup();
  event("youtell", "You tell bob: ok :)\n", {{"nick", "bob"}, {"text", "ok :)\n"}});
  event("tell", "bob tells you: EMOTE waves\r\n", {{"nick", "bob"}, {"text", "EMOTE waves\r\n"}});
  NevTellTab* bob = session.getTab("bob", false);
  EXPECT_EQ("[alice] ok :)\r<Nev> *bob waves*", shown(bob));
  EXPECT_EQ(static_cast<long>(host.colours["system"]), colourOf(bob, "<Nev> *bob"));
}

TEST_F(TellTest, StatusEventsRetitleOnlyExistingTabs) {
  event("tell", "bob tells you: hi\n", {{"nick", "bob"}, {"text", "hi\n"}});
  host.tabTexts.clear();
  struct Case {
    const char* idle;
    const char* title;  // null: unchanged
  };
  for (const Case& c : {Case{"12m", nullptr}, Case{"15m", "bob (Gone)"}, Case{"m", "bob"},
                        Case{"*3m", "bob (Away)"}, Case{"2h", "bob (Gone)"},
                        Case{"120m", "bob (Gone)"}, Case{"", nullptr}}) {
    host.tabTexts.clear();
    event("wholine", "> bob V x Hall User", {{"name", "bob"}, {"idle", c.idle}});
    if (c.title == nullptr)
      EXPECT_TRUE(host.tabTexts.empty()) << c.idle;
    else
      EXPECT_EQ(std::vector<std::string>{c.title}, host.tabTexts) << c.idle;
  }
  host.tabTexts.clear();
  event("wholine", "> dan", {{"name", "dan"}, {"idle", "30m"}});
  EXPECT_FALSE(event("useraway", "<Nev> dan is now away", {{"nick", "dan"}}));
  EXPECT_TRUE(host.tabTexts.empty());
  EXPECT_EQ(1, session.tabCount());

  EXPECT_TRUE(event("tellaway", "<Nev> bob is away", {{"nick", "bob"}}));
  EXPECT_FALSE(event("leaves", "09:00:00 <-- bob leaves\n",
                     {{"nevtime", "09:00:00 "}, {"nick", "bob"}}));
  EXPECT_EQ((std::vector<std::string>{"bob (Away)", "bob (Quit)"}), host.tabTexts);
  EXPECT_EQ("<bob> hi\r09:00:00 <-- bob leaves", shown(session.getTab("bob", false)));
}

TEST_F(TellTest, BeepsShowOnlyInTheTabInFront) {
  event("tell", "bob tells you: hi\n", {{"nick", "bob"}, {"text", "hi\n"}});
  NevTellTab* bob = session.getTab("bob", false);
  EXPECT_FALSE(event("usrbeep", "<Nev> bob beeps you\n", {{"nick", "bob"}}));
  EXPECT_EQ("<bob> hi", shown(bob));
  host.frontTab = bob->getTabHandle();
  host.highlightedTabs.clear();
  EXPECT_TRUE(event("usrbeep", "<Nev> bob beeps you\n", {{"nick", "bob"}}));
  EXPECT_EQ(1u, host.highlightedTabs.size());
  EXPECT_TRUE(event("youbeep", "You beep bob\n", {{"nick", "bob"}}));
  EXPECT_EQ(1u, host.highlightedTabs.size()) << "the own beep does not highlight";
  EXPECT_EQ("<bob> hi\r<Nev> bob beeps you\rYou beep bob", shown(bob));
}

TEST_F(TellTest, MissingVariablesShortLinesAndNullDataAreHarmless) {
  EXPECT_FALSE(session.onEvent(1, "tell", nullptr, false));
  EXPECT_FALSE(event("tell", "tells you", {{"text", "x\n"}})) << "no nick: not taken";
  EXPECT_EQ(0, session.tabCount());
  EXPECT_TRUE(event("tell", "bob tells you:", {{"nick", "bob"}}));
  EXPECT_EQ("<bob> ", shown(session.getTab("bob", false))) << "a missing text reads empty";
  EXPECT_FALSE(event("leaves", "12:00", {{"nevtime", "12:00:00 "}, {"nick", "bob"}}))
      << "a stamp longer than the line";
  EXPECT_FALSE(event("wholine", "> x", {{"name", "bob"}}));
  EXPECT_FALSE(event("wellogin", "x", {}));
  EXPECT_STREQ("", session.getOwnLogin());
  session.onUserEvent("NevChat", "query", nullptr);
  EXPECT_EQ(1, session.tabCount());
}

TEST_F(TellTest, NicksWithTheSameHashGetTabsOfTheirOwn) {
  // Nicks whose hashes meet are easy to build, so a stranger could try.
  const std::string first = "aa3", second = "abP";
  ASSERT_EQ(hashString(first.c_str()), hashString(second.c_str()));
  std::string text1 = "from " + first + "\n", text2 = "from " + second + "\n";
  event("tell", "", {{"nick", first.c_str()}, {"text", text1.c_str()}});
  event("tell", "", {{"nick", second.c_str()}, {"text", text2.c_str()}});
  ASSERT_EQ(2, session.tabCount());
  NevTellTab* one = session.getTab(first.c_str(), false);
  NevTellTab* two = session.getTab(second.c_str(), false);
  ASSERT_TRUE(one != nullptr && two != nullptr && one != two);
  EXPECT_EQ("<" + first + "> from " + first, shown(one));
  EXPECT_EQ("<" + second + "> from " + second, shown(two));
  session.closeTab(first.c_str());
  EXPECT_EQ(two, session.getTab(second.c_str(), false)) << "the other stays found";
  EXPECT_EQ(nullptr, session.getTab(first.c_str(), false));
}

// Tells under ever new nicks stop opening tabs at the bound: the chat window shows them, with
// one line (not one per tell) saying why; known nicks and the user's own tells still get theirs.
TEST_F(TellTest, PeersOpenNoMoreThanTheBoundOfTabs) {
  auto tellFrom = [&](const std::string& nick) {
    return event("tell", "", {{"nick", nick.c_str()}, {"text", "hi\n"}});
  };
  for (int i = 0; i < NevTellSession::MaxPeerTabs; ++i)
    ASSERT_TRUE(tellFrom("pal" + std::to_string(i)));
  EXPECT_EQ(NevTellSession::MaxPeerTabs, session.tabCount());
  EXPECT_TRUE(host.events.empty());

  EXPECT_FALSE(tellFrom("stranger")) << "the chat window shows it";
  EXPECT_FALSE(tellFrom("another"));
  EXPECT_EQ(nullptr, session.getTab("stranger", false));
  EXPECT_EQ(NevTellSession::MaxPeerTabs, session.tabCount());
  ASSERT_EQ(1u, host.events.size());
  EXPECT_EQ(0u, host.events[0].find("@ sysout NevTell - 200 tell tabs are open"))
      << host.events[0];
  EXPECT_TRUE(tellFrom("pal7")) << "an open tab still takes its tells";
  EXPECT_TRUE(event("youtell", "", {{"nick", "friend"}, {"text", "yo\n"}}));
  EXPECT_NE(nullptr, session.getTab("friend", false));

  // A closed tab makes room again.
  session.closeTab("pal0");
  session.closeTab("friend");
  EXPECT_TRUE(tellFrom("stranger"));
  EXPECT_NE(nullptr, session.getTab("stranger", false));
}

TEST_F(TellTest, QueryOpensAndSelectsATabAndColoursFollowTheAwayState) {
  char nick[] = "bob";
  session.onUserEvent("NevChat", "QUERY", nick);
  NevTellTab* bob = session.getTab("bob", false);
  ASSERT_NE(bob, nullptr);
  EXPECT_EQ("<Vornith> Query activated.", shown(bob));
  EXPECT_EQ(std::vector<HWND>{bob->getTabHandle()}, host.selectedTabs);
  event("away", "You are now away");
  EXPECT_TRUE(session.isAway());
  event("back", "You are back");
  EXPECT_FALSE(session.isAway());
  event("away", "You are now away");
  session.onSystemEvent(2, nullptr);
  EXPECT_FALSE(session.isAway()) << "a new connection forgets the away state and the login";
  EXPECT_STREQ("", session.getOwnLogin());
  event("wellogin", "<Nev> Welcome zed", {{"login", "zed"}});
  EXPECT_STREQ("zed", session.getOwnLogin());
}

}  // namespace
