// The system plug-ins holder against real modules: one session per plug-in, text chains, the
// hooks every session hears, interception, faults that unload, and term.
#include "host/SystemPluginsSession.h"

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
  void start(std::initializer_list<const char*> files, bool initSession = true) {
    add(files);
    for (const char* file : files) hold(file);
    managers.reset(new PlugsManagers(&table, settings.c_str(), &wired));
    managers->loadAll(folder.string().c_str());
    session.reset(new SystemPluginsSession(*managers));
    wired.setSession(session.get());
    if (initSession) session->init();
    clearJournals();
  }
  PlugRecord* record(const char* name) { return managers->findPlug(name, PLUG_KIND_SYSTEM); }
  void clearJournals() {
    for (PlugRecord& r : *managers->plugList(PLUG_KIND_SYSTEM)) {
      HMODULE module = LoadLibraryA(r.file);
      auto clear = reinterpret_cast<void (*)()>(GetProcAddress(module, "clearFixtureJournal"));
      if (clear) clear();
      FreeLibrary(module);
    }
  }
  std::string journalOf(const char* name) { return journal((std::string(name) + ".vsy").c_str()); }
  static std::string take(char* text) {
    std::string copy = text ? text : "(null)";
    delete[] text;
    return copy;
  }

  SystemSessionHooks wired{&hooks};
  std::unique_ptr<SystemPluginsSession> session;
};

TEST_F(SystemSessionTest, InitGivesEverySystemPluginOneSessionOfNoClient) {
  add({"GoodSystem.vsy", "SecondSystem.vsy"});
  hold("GoodSystem.vsy");
  managers.reset(new PlugsManagers(&table, settings.c_str(), &wired));
  managers->loadAll(folder.string().c_str());
  session.reset(new SystemPluginsSession(*managers));
  wired.setSession(session.get());
  session->init();
  session->init();  // a second init makes no second session
  EXPECT_NE(std::string::npos, console().find("- System plugins Initialization.\n"));
  for (const char* name : {"GoodSystem", "SecondSystem"}) {
    PlugRecord* r = record(name);
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(PLUG_SESSION | PLUG_SYSTEM, r->flags & (PLUG_SESSION | PLUG_SYSTEM));
    ASSERT_NE(nullptr, r->sessions);
    EXPECT_EQ(nullptr, r->sessions->next);
    EXPECT_EQ(nullptr, r->sessions->client);
    EXPECT_STREQ("Vornith 2 Session", r->sessions->session->getClientName());
  }
  EXPECT_NE(std::string::npos,
            journalOf("GoodSystem").find("newSession session.init(Vornith 2 Session)"));
}

TEST_F(SystemSessionTest, TextChainsPassEachResultToTheNextSession) {
  start({"GoodSystem.vsy", "SecondSystem.vsy"});
  std::vector<std::string> names;
  for (PlugRecord& r : *managers->plugList(PLUG_KIND_SYSTEM)) names.push_back(r.name);
  ASSERT_EQ(2u, names.size());
  using Chain = char* (SystemPluginsSession::*)(const char*, const char*);
  for (auto [hook, chain] :
       {std::pair<std::string, Chain>{"onReceivedData", &SystemPluginsSession::onReceivedData},
        {"onDataToSend", &SystemPluginsSession::onDataToSend}}) {
    clearJournals();
    EXPECT_EQ("hi+" + names[0] + "+" + names[1], take((session.get()->*chain)("irc", "hi")));
    EXPECT_EQ(hook + "(irc,hi)", journalOf(names[0].c_str()));
    EXPECT_EQ(hook + "(irc,hi+" + names[0] + ")", journalOf(names[1].c_str()));
    EXPECT_EQ(nullptr, (session.get()->*chain)("irc", nullptr));
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
// Interception still calls every session.
TEST_F(SystemSessionTest, SessionReturningItsArgumentKeepsTheTextAndInterceptionCallsEveryone) {
  start({"EchoSystem.vsy", "GoodSystem.vsy"});
  std::string longText(300, 'a');  // beyond any small initial buffer
  EXPECT_EQ(longText + "+GoodSystem", take(session->onReceivedData("irc", longText.c_str())));
  char* vars[] = {const_cast<char*>("nick"), const_cast<char*>("bob")};
  EventData data = {const_cast<char*>("line"), 1, vars};
  clearJournals();
  EXPECT_TRUE(session->onEvent("irc", 3, "Privmsg", &data));
  EXPECT_EQ("onEvent(irc,3,Privmsg,bob)", journalOf("EchoSystem"));
  EXPECT_EQ("onEvent(irc,3,Privmsg,bob)", journalOf("GoodSystem"));
  session->unloadPlug(record("EchoSystem"));
  EXPECT_FALSE(session->onEvent("irc", 3, "Privmsg", &data));
}

TEST_F(SystemSessionTest, OrHooksAndClientEventsReachEverySession) {
  start({"GoodSystem.vsy", "SecondSystem.vsy"});
  MSG taken = {nullptr, 1, 7, 0, 0, {0, 0}};
  MSG ignored = {nullptr, 2, 8, 0, 0, {0, 0}};
  EventData data = {const_cast<char*>("connected"), 0, nullptr};
  EXPECT_TRUE(session->onCommandLine("take"));
  EXPECT_FALSE(session->onCommandLine("other"));
  EXPECT_TRUE(session->onCheckKeyPressed(1));
  EXPECT_FALSE(session->onCheckKeyPressed(2));
  EXPECT_TRUE(session->onWindowMessage(&taken));
  EXPECT_FALSE(session->onWindowMessage(&ignored));
  session->onNewClient("irc");
  session->onSystemEvent("irc", 5, &data);
  const char* expected =
      "onCommandLine(take) onCommandLine(other) onCheckKeyPressed(1) onCheckKeyPressed(2) "
      "onWindowMessage(1,7) onWindowMessage(2,8) onNewClient(irc) onSystemEvent(irc,5,connected)";
  EXPECT_EQ(expected, journalOf("GoodSystem"));
  EXPECT_EQ(expected, journalOf("SecondSystem"));
}

TEST_F(SystemSessionTest, FaultingHookIsReportedUnloadedAndSkippedAndCanBeSwitchedOnAgain) {
  start({"ThrowingSystem.vsy", "GoodSystem.vsy"});
  vorntest::answerNextMessageBox(IDOK);
  EXPECT_EQ("x+GoodSystem", take(session->onReceivedData("irc", "x")));
  auto boxes = vorntest::shownMessageBoxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_NE(std::string::npos, boxes[0].text.find("'onReceivedData'"));
  PlugRecord* thrower = record("ThrowingSystem");
  EXPECT_FALSE(thrower->isLoaded());
  EXPECT_EQ(nullptr, thrower->sessions);
  EXPECT_EQ(nullptr, thrower->module);
  EXPECT_NE(std::string::npos, journalOf("ThrowingSystem").find("session.term deleteSession term"));
  EXPECT_TRUE(managers->loadPlug(thrower));
  EXPECT_NE(0u, thrower->flags & PLUG_SESSION);
}

TEST_F(SystemSessionTest, TermDropsEverySessionButKeepsTheModules) {
  start({"GoodSystem.vsy"});
  clearConsole();
  session->term();
  EXPECT_NE(std::string::npos, console().find("- System plugins Terminated.\n"));
  EXPECT_EQ("session.term deleteSession", journalOf("GoodSystem"));
  PlugRecord* r = record("GoodSystem");
  EXPECT_EQ(nullptr, r->sessions);
  EXPECT_TRUE(r->isLoaded());
  EXPECT_EQ("hi", take(session->onReceivedData("irc", "hi")));
  // A loaded record without a session is still ended and freed.
  clearJournals();
  EXPECT_TRUE(managers->unloadPlug(r));
  EXPECT_EQ("term", journalOf("GoodSystem"));
  EXPECT_EQ(nullptr, r->module);
}

TEST_F(SystemSessionTest, PluginSwitchedOnGetsItsSessionAtOnce) {
  writeKey("Plugs0000", "-GoodSystem");
  start({"GoodSystem.vsy"});
  PlugRecord* r = record("GoodSystem");
  EXPECT_EQ(nullptr, r->sessions);
  EXPECT_TRUE(managers->loadPlug(r));
  ASSERT_NE(nullptr, r->sessions);
  EXPECT_EQ("hi+GoodSystem", take(session->onReceivedData("irc", "hi")));
}

}  // namespace
