#include "host/SystemPluginsSession.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/tests/PlugsFixture.h"
#include "sdk/PlugsSystemSession.h"

namespace {

class SystemSessionTest : public PlugsTest {
 protected:
  void TearDown() override {
    if (session) session->term();
    session.reset();
    PlugsTest::TearDown();
  }

  // Loads the fixture system plug-ins with the session wired into the managers' hooks; modules
  // are held so their journals outlive an unload.
  PlugsManagers& start(std::initializer_list<const char*> files, bool initSession = true) {
    add(files);
    for (const char* file : files) hold(file);
    managers.reset(new PlugsManagers(&table, settings.c_str(), &wired));
    managers->loadAll(folder.string().c_str());
    session.reset(new SystemPluginsSession(*managers));
    wired.setSession(session.get());
    if (initSession) session->init();
    return *managers;
  }
  PlugRecord* record(const char* name) { return managers->findPlug(name, PLUG_KIND_SYSTEM); }
  void clearJournals(std::initializer_list<const char*> files) {
    for (const char* file : files) {
      HMODULE module = LoadLibraryA(pathOf(file).c_str());
      auto clear = reinterpret_cast<void (*)()>(GetProcAddress(module, "clearFixtureJournal"));
      if (clear) clear();
      FreeLibrary(module);
    }
  }
  // The names of the system plug-ins in the order the broadcasts walk them.
  std::vector<std::string> order() {
    std::vector<std::string> names;
    for (PlugRecord& r : *managers->plugList(PLUG_KIND_SYSTEM)) names.push_back(r.name);
    return names;
  }
  std::string take(char* text) {
    std::string copy = text ? text : "(null)";
    delete[] text;
    return copy;
  }

  SystemSessionHooks wired{&hooks};
  std::unique_ptr<SystemPluginsSession> session;
};

TEST_F(SystemSessionTest, InitGivesEverySystemPluginItsSession) {
  start({"GoodSystem.vsy", "SecondSystem.vsy"});
  EXPECT_NE(std::string::npos, console().find("- System plugins Initialization.\n"));
  for (const char* name : {"GoodSystem", "SecondSystem"}) {
    SCOPED_TRACE(name);
    PlugRecord* r = record(name);
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(PLUG_SESSION | PLUG_SYSTEM, r->flags & (PLUG_SESSION | PLUG_SYSTEM));
    ASSERT_NE(nullptr, r->sessions);
    EXPECT_EQ(nullptr, r->sessions->next);
    EXPECT_EQ(nullptr, r->sessions->client);
    EXPECT_STREQ("Vornith 2 Session", r->sessions->session->getClientName());
    EXPECT_NE(std::string::npos, journal((std::string(name) + ".vsy").c_str())
                                     .find("newSession session.init(Vornith 2 Session)"));
  }
  // A second init makes no second session.
  session->init();
  EXPECT_EQ(nullptr, record("GoodSystem")->sessions->next);
}

TEST_F(SystemSessionTest, TextChainsPassEachResultToTheNextSession) {
  start({"GoodSystem.vsy", "SecondSystem.vsy"});
  auto names = order();
  ASSERT_EQ(2u, names.size());
  struct Case {
    const char* hook;
    char* (SystemPluginsSession::*call)(const char*, const char*);
  };
  for (const Case& c : {Case{"onReceivedData", &SystemPluginsSession::onReceivedData},
                        Case{"onDataToSend", &SystemPluginsSession::onDataToSend}}) {
    SCOPED_TRACE(c.hook);
    clearJournals({"GoodSystem.vsy", "SecondSystem.vsy"});
    EXPECT_EQ("hi+" + names[0] + "+" + names[1], take((session.get()->*c.call)("irc", "hi")));
    EXPECT_EQ(std::string(c.hook) + "(irc,hi)", journal((names[0] + ".vsy").c_str()));
    EXPECT_EQ(std::string(c.hook) + "(irc,hi+" + names[0] + ")",
              journal((names[1] + ".vsy").c_str()));
    EXPECT_EQ(nullptr, (session.get()->*c.call)("irc", nullptr));
  }
}

TEST_F(SystemSessionTest, WithoutSystemPluginsTextIsCopiedAndNothingIntercepted) {
  start({});
  const char* text = "line";
  char* copy = session->onReceivedData("irc", text);
  EXPECT_NE(text, copy);
  EXPECT_EQ("line", take(copy));
  EXPECT_EQ("out", take(session->onDataToSend("irc", "out")));
  EventData data = {const_cast<char*>("x"), 0, nullptr};
  EXPECT_FALSE(session->onEvent("irc", 1, "Join", &data));
  EXPECT_FALSE(session->onCommandLine("take"));
}

// The echoing session hands back the working buffer itself: the text must stay intact.
TEST_F(SystemSessionTest, SessionReturningItsArgumentKeepsTheText) {
  start({"EchoSystem.vsy", "GoodSystem.vsy"});
  std::string longText(300, 'a');  // beyond any small initial buffer
  EXPECT_EQ(longText + "+GoodSystem", take(session->onReceivedData("irc", longText.c_str())));
}

TEST_F(SystemSessionTest, InterceptionCallsEverySessionWithTheClientName) {
  start({"EchoSystem.vsy", "GoodSystem.vsy"});
  char* vars[] = {const_cast<char*>("nick"), const_cast<char*>("bob")};
  EventData data = {const_cast<char*>("line"), 1, vars};
  clearJournals({"EchoSystem.vsy", "GoodSystem.vsy"});
  EXPECT_TRUE(session->onEvent("irc", 3, "Privmsg", &data));
  EXPECT_EQ("onEvent(irc,3,Privmsg,bob)", journal("EchoSystem.vsy"));
  EXPECT_EQ("onEvent(irc,3,Privmsg,bob)", journal("GoodSystem.vsy"));
  session->unloadPlug(record("EchoSystem"));
  EXPECT_FALSE(session->onEvent("irc", 3, "Privmsg", &data));
}

TEST_F(SystemSessionTest, OrHooksCallEverySession) {
  start({"GoodSystem.vsy", "SecondSystem.vsy"});
  MSG taken = {nullptr, 1, 7, 0, 0, {0, 0}};
  MSG ignored = {nullptr, 2, 8, 0, 0, {0, 0}};
  struct Case {
    std::function<bool()> call;
    bool result;
    const char* noted;
  } cases[] = {
      {[&] { return session->onCommandLine("take"); }, true, "onCommandLine(take)"},
      {[&] { return session->onCommandLine("other"); }, false, "onCommandLine(other)"},
      {[&] { return session->onCheckKeyPressed(1); }, true, "onCheckKeyPressed(1)"},
      {[&] { return session->onCheckKeyPressed(2); }, false, "onCheckKeyPressed(2)"},
      {[&] { return session->onWindowMessage(&taken); }, true, "onWindowMessage(1,7)"},
      {[&] { return session->onWindowMessage(&ignored); }, false, "onWindowMessage(2,8)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.noted);
    clearJournals({"GoodSystem.vsy", "SecondSystem.vsy"});
    EXPECT_EQ(c.result, c.call());
    EXPECT_EQ(c.noted, journal("GoodSystem.vsy"));
    EXPECT_EQ(c.noted, journal("SecondSystem.vsy"));
  }
}

TEST_F(SystemSessionTest, ClientsAndSystemEventsReachTheSessions) {
  start({"GoodSystem.vsy"});
  EventData data = {const_cast<char*>("connected"), 0, nullptr};
  clearJournals({"GoodSystem.vsy"});
  session->onNewClient("irc");
  session->onSystemEvent("irc", 5, &data);
  EXPECT_EQ("onNewClient(irc) onSystemEvent(irc,5,connected)", journal("GoodSystem.vsy"));
}

TEST_F(SystemSessionTest, FaultingHookIsReportedUnloadedAndSkipped) {
  start({"ThrowingSystem.vsy", "GoodSystem.vsy"});
  vorntest::clearMessageBoxes();
  vorntest::answerNextMessageBox(IDOK);
  EXPECT_EQ("x+GoodSystem", take(session->onReceivedData("irc", "x")));
  auto boxes = vorntest::shownMessageBoxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_NE(std::string::npos, boxes[0].text.find("'onReceivedData'"));
  PlugRecord* thrower = record("ThrowingSystem");
  EXPECT_FALSE(thrower->isLoaded());
  EXPECT_EQ(nullptr, thrower->sessions);
  EXPECT_EQ(nullptr, thrower->module);
  EXPECT_NE(std::string::npos,
            journal("ThrowingSystem.vsy").find("session.term deleteSession term"));
  EXPECT_NE(nullptr, record("GoodSystem")->sessions);
  // Switching it on again makes its session at once.
  EXPECT_TRUE(managers->loadPlug(thrower));
  EXPECT_NE(0u, thrower->flags & PLUG_SESSION);
}

TEST_F(SystemSessionTest, TermDropsEverySessionButKeepsTheModules) {
  start({"GoodSystem.vsy"});
  clearJournals({"GoodSystem.vsy"});
  clearConsole();
  session->term();
  EXPECT_NE(std::string::npos, console().find("- System plugins Terminated.\n"));
  EXPECT_EQ("session.term deleteSession", journal("GoodSystem.vsy"));
  PlugRecord* r = record("GoodSystem");
  EXPECT_EQ(0u, r->flags & PLUG_SESSION);
  EXPECT_EQ(nullptr, r->sessions);
  EXPECT_TRUE(r->isLoaded());
  EXPECT_EQ("hi", take(session->onReceivedData("irc", "hi")));
}

TEST_F(SystemSessionTest, LoadedRecordWithoutSessionIsStillEndedAndFreed) {
  start({"GoodSystem.vsy"}, false);
  PlugRecord* r = record("GoodSystem");
  ASSERT_TRUE(r->isLoaded());
  ASSERT_EQ(nullptr, r->sessions);
  clearJournals({"GoodSystem.vsy"});
  EXPECT_TRUE(managers->unloadPlug(r));
  EXPECT_EQ("term", journal("GoodSystem.vsy"));
  EXPECT_FALSE(r->isLoaded());
  EXPECT_EQ(nullptr, r->module);
  EXPECT_EQ(nullptr, r->factory);
}

TEST_F(SystemSessionTest, PluginSwitchedOnGetsItsSessionAtOnce) {
  writeKey("Plugs0000", "-GoodSystem");
  start({"GoodSystem.vsy"});
  PlugRecord* r = record("GoodSystem");
  EXPECT_FALSE(r->isLoaded());
  EXPECT_EQ(nullptr, r->sessions);
  EXPECT_TRUE(managers->loadPlug(r));
  ASSERT_NE(nullptr, r->sessions);
  EXPECT_EQ(PLUG_LOADED | PLUG_SESSION | PLUG_SYSTEM,
            r->flags & (PLUG_LOADED | PLUG_SESSION | PLUG_SYSTEM));
  EXPECT_EQ("hi+GoodSystem", take(session->onReceivedData("irc", "hi")));
}

}  // namespace
