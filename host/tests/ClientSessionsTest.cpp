// A client's sessions of its plug-ins: made from its configuration, initialised and deleted,
// added and removed by hand, dropped and made again when the managers unload and load a
// plug-in, looked up, and carrying events and requests between the client's plug-ins.
#include <gtest/gtest.h>

#include "host/tests/ClientTestAccess.h"

namespace {

using ClientSessionsTest = ClientTest;

TEST_F(ClientSessionsTest, ConfigurationNamesBecomeRecordsWithTheirReports) {
  loadPlugins({"GoodMain.vma", "GoodAddin.vad", "GoodInOut.vio"},
              "+GoodMain +Good_Addin2 -GoodInOut");
  writeIni(".\\Vornith.ini", "alpha", "Main", "goodmain");
  writeIni(".\\Vornith.ini", "alpha", "Addins", " Good_Addin2\t\tNope  Good_Addin2  ");
  writeIni(".\\Vornith.ini", "alpha", "Inout", "GoodInOut");
  Client* alpha = makeClient("alpha");
  EXPECT_EQ(std::string(". Main Plug : GoodMain\n"
                        ". Addins Plug : Good_Addin2\n"
                        ". Addins Plug Error : Unknown name - Nope\n"
                        ". Addins Plug : Good_Addin2\n"
                        ". Addins Plug : GoodInOut  (Not loaded)\n"),
            console());

  // The unknown name is dropped; the name given twice makes two records with their own sessions.
  EXPECT_NE(nullptr, alpha->getMainRecord().session);
  ASSERT_EQ(2, [&] {
    int n = 0;
    alpha->getAddins().forEach([&](SessionRecord*&) { ++n; });
    return n;
  }());
  SessionRecord* first = alpha->getAddins().frontValue(true);
  SessionRecord* second = alpha->getAddins().frontValue(false);
  EXPECT_NE(nullptr, first->session);
  EXPECT_NE(first->session, second->session);
  EXPECT_EQ(2, nodesOf(plug("Good_Addin2"), alpha));
  // Known but not loaded: a record and a node without a session.
  SessionRecord* inOut = alpha->getInOuts().frontValue(true);
  ASSERT_NE(nullptr, inOut);
  EXPECT_EQ(nullptr, inOut->session);
  EXPECT_EQ(1, nodesOf(plug("GoodInOut"), alpha));
}

TEST_F(ClientSessionsTest, EmptyAndUnknownKeysPrintTheirOwnLines) {
  noPlugins();
  makeClient("beta");
  EXPECT_EQ(std::string(". No main plugin found.\n. No addins plugin found.\n"
                        ". No input/output plugin found.\n"),
            console());
  auto greyRuns = runs();
  ASSERT_FALSE(greyRuns.empty());
  EXPECT_NE(std::string::npos, greyRuns[0].find("#404040"));

  writeIni(".\\Vornith.ini", "gamma", "Main", "Zed");
  writeIni(".\\Vornith.ini", "gamma", "Inout", "Zed");
  Client* gamma = makeClient("gamma");
  EXPECT_EQ(std::string(". Main Plug Error :Unknown name - Zed\n. No addins plugin found.\n"
                        ". Input/Output Plug Error : \nUnknown name - Zed\n"),
            console());
  EXPECT_EQ(nullptr, gamma->getMainRecord().plug);
  EXPECT_TRUE(gamma->getInOuts().isEmpty());
}

TEST_F(ClientSessionsTest, InitMarksLiveSessionsAndDeleteGivesThemBack) {
  noPlugins();
  FakeFactory& good = fake("Good", PLUG_KIND_ADDIN);
  FakeFactory& bad = fake("Bad", PLUG_KIND_ADDIN);
  bad.initThrows = true;
  PlugRecord* goodPlug = fakePlug(good);
  PlugRecord* badPlug = fakePlug(bad);
  writeIni(".\\Vornith.ini", "alpha", "Addins", "Bad Good");
  Client* alpha = makeClient("alpha");
  SessionRecord* badRecord = alpha->getAddins().frontValue(true);
  SessionRecord* goodRecord = alpha->getAddins().frontValue(false);

  vorntest::answerNextMessageBox(IDOK);
  alpha->initSessions();
  // The faulting init unloaded its plug-in: no session, no init mark, and no term owed.
  ASSERT_EQ(1u, vorntest::shownMessageBoxes().size());
  EXPECT_EQ("Plugin's Critical Error !!!", vorntest::shownMessageBoxes()[0].caption);
  EXPECT_FALSE(badPlug->isLoaded());
  EXPECT_EQ(nullptr, badRecord->session);
  EXPECT_EQ(0u, badRecord->flags & SESSION_INIT_DONE);
  EXPECT_TRUE(journal.has("Bad deleteSession"));
  EXPECT_FALSE(journal.has("Bad term"));
  // The walk went on to the next record.
  EXPECT_EQ(SESSION_INIT_DONE, goodRecord->flags & SESSION_INIT_DONE);

  journal.calls.clear();
  alpha->deleteSessions();
  EXPECT_EQ((std::vector<std::string>{"Good term", "Good deleteSession"}), journal.calls);
  EXPECT_EQ(nullptr, goodRecord->session);
  EXPECT_EQ(0, nodesOf(goodPlug, alpha));
  EXPECT_EQ(0, nodesOf(badPlug, alpha));
  // The records stay until the client goes.
  EXPECT_FALSE(alpha->getAddins().isEmpty());
}

TEST_F(ClientSessionsTest, AddAndRemoveReportEveryStepAndEveryRefusal) {
  loadPlugins({"GoodMain.vma", "GoodAddin.vad", "GoodInOut.vio", "GoodSystem.vsy"},
              "+GoodMain +Good_Addin2 -GoodInOut +GoodSystem");
  writeIni(".\\Vornith.ini", "alpha", "Main", "GoodMain");
  Client* alpha = makeClient("alpha");
  struct Case {
    const char* what;
    bool add;
    const char* plugName;
    const char* expected;
  };
  const Case cases[] = {
      {"loaded add-in", true, "Good_Addin2",
       "Add plugin 'Good_Addin2' in hand...\n- Session created.\n- Session added to the client.\n"
       "- Session initialized.\nAdd plugin 'Good_Addin2' terminated.\n"},
      {"twice", true, "Good_Addin2",
       "Add failed : The plugin 'Good_Addin2' is already present in the client 'alpha' !\n"},
      {"unloaded in/out", true, "GoodInOut",
       "Add plugin 'GoodInOut' in hand...\n- Session created.\n- Session added to the client.\n"
       "- Plugin not loaded.\nAdd plugin 'GoodInOut' terminated.\n"},
      {"system", true, "GoodSystem",
       "Add failed : The system plugin 'GoodSystem' can't be added to a client !\n"},
      {"main", true, "GoodMain",
       "Add failed : The plugin 'GoodMain' is already present in the client 'alpha' !\n"},
      {"remove main", false, "GoodMain",
       "Remove failed : You can't remove the main plugin from a client. !\n"},
      {"remove system", false, "GoodSystem",
       "Remove failed : The plugin 'GoodSystem' is a system plugin !\n"},
      {"remove add-in", false, "Good_Addin2",
       "Remove plugin 'Good_Addin2' in hand...\n- Session terminated.\n"
       "- Session removed from the client.\n- Session deleted.\n"
       "Remove plugin 'Good_Addin2' terminated.\n"},
      {"remove again", false, "Good_Addin2",
       "Remove failed : The plugin 'Good_Addin2' is NOT present in the client 'alpha' !\n"},
  };
  for (const Case& c : cases) {
    clearConsole();
    if (c.add)
      alpha->addPlug(plug(c.plugName));
    else
      alpha->removePlug(plug(c.plugName));
    EXPECT_EQ(std::string(c.expected), console()) << c.what;
  }
  EXPECT_TRUE(alpha->getAddins().isEmpty());
  EXPECT_EQ(0, nodesOf(plug("Good_Addin2"), alpha));
  ASSERT_FALSE(alpha->getInOuts().isEmpty());
  EXPECT_EQ(nullptr, alpha->getInOuts().frontValue(true)->session);
  EXPECT_NE(nullptr, alpha->getMainRecord().session);
}

TEST_F(ClientSessionsTest, AFailedLoadLeavesNoSessionBehind) {
  noPlugins();
  FakeFactory& empty = fake("Empty", PLUG_KIND_ADDIN);
  empty.nullSession = true;
  FakeFactory& faulty = fake("Faulty", PLUG_KIND_INOUT);
  faulty.initThrows = true;
  Client* alpha = makeClient("alpha");

  clearConsole();
  alpha->addPlug(fakePlug(empty));
  EXPECT_NE(std::string::npos,
            console().find("Add failed : Unable to create or initialize a new session... !\n"));
  SessionRecord* record = alpha->getAddins().frontValue(true);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(nullptr, record->session);
  EXPECT_EQ(0u, record->flags);
  ASSERT_NE(nullptr, plug("Empty")->sessions);
  EXPECT_EQ(nullptr, plug("Empty")->sessions->session);

  vorntest::answerNextMessageBox(IDOK);
  PlugRecord* faultyPlug = fakePlug(faulty);
  EXPECT_TRUE(alpha->getInOuts().isEmpty());
  alpha->addPlug(faultyPlug);
  record = alpha->getInOuts().frontValue(true);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(nullptr, record->session);
  EXPECT_EQ(0u, record->flags);
  EXPECT_FALSE(faultyPlug->isLoaded());
  EXPECT_EQ(nullptr, faultyPlug->sessions->session);
  EXPECT_TRUE(journal.has("Faulty deleteSession"));
}

TEST_F(ClientSessionsTest, UnloadAndLoadAgainReachEveryRecordOfAPlugIn) {
  noPlugins();
  FakeFactory& twice = fake("Twice", PLUG_KIND_ADDIN);
  PlugRecord* record = fakePlug(twice);
  writeIni(".\\Vornith.ini", "alpha", "Addins", "Twice Twice");
  Client* alpha = makeClient("alpha");
  alpha->initSessions();
  SessionRecord* first = alpha->getAddins().frontValue(true);
  SessionRecord* second = alpha->getAddins().frontValue(false);
  ASSERT_NE(nullptr, second->session);

  journal.calls.clear();
  EXPECT_TRUE(managers->unloadPlug(record));
  EXPECT_EQ(nullptr, first->session);
  EXPECT_EQ(nullptr, second->session);
  EXPECT_EQ(0u, (first->flags | second->flags) & SESSION_INIT_DONE);
  EXPECT_EQ((std::vector<std::string>{"Twice term", "Twice deleteSession", "Twice term",
                                      "Twice deleteSession", "Twice factory term"}),
            journal.calls);
  // The nodes stay, waiting for the plug-in to come back.
  EXPECT_EQ(2, nodesOf(record, alpha));

  // The managers bind the module again, then ask each node's client.
  record->factory = &twice;
  record->flags |= PLUG_LOADED;
  EXPECT_TRUE(alpha->loadPlug(record));
  EXPECT_TRUE(alpha->loadPlug(record));
  EXPECT_NE(nullptr, first->session);
  EXPECT_NE(nullptr, second->session);
  EXPECT_EQ(SESSION_INIT_DONE, first->flags & second->flags & SESSION_INIT_DONE);
  EXPECT_NE(nullptr, record->findSession(first->session));
  EXPECT_NE(nullptr, record->findSession(second->session));
  // Every record has its session: nothing is left to load.
  EXPECT_FALSE(alpha->loadPlug(record));
}

class ClientRoutingTest : public ClientTest {
 protected:
  void SetUp() override {
    ClientTest::SetUp();
    if (IsSkipped()) return;
    noPlugins();
    fakePlug(fake("Boss", PLUG_KIND_MAIN)).answer = -1;
    fakePlug(fake("Helper", PLUG_KIND_ADDIN)).answer = 5;
    fakePlug(fake("Second", PLUG_KIND_ADDIN)).answer = 7;
    fakePlug(fake("Filter", PLUG_KIND_INOUT));
    writeIni(".\\Vornith.ini", "alpha", "Main", "Boss");
    writeIni(".\\Vornith.ini", "alpha", "Addins", "Helper Second");
    writeIni(".\\Vornith.ini", "alpha", "Inout", "Filter");
    alpha = makeClient("alpha");
    sender = alpha->findSession("second")->session;
    journal.calls.clear();
  }
  FakeFactory& fakePlug(FakeFactory& factory) {
    ClientTest::fakePlug(factory);
    return factory;
  }
  Client* alpha = nullptr;
  PlugsObject* sender = nullptr;
};

TEST_F(ClientRoutingTest, EventsReachTheMainPlugInFirstAndNamesIgnoreCase) {
  alpha->SendEvent(sender, "*", "ping", nullptr);
  EXPECT_EQ((std::vector<std::string>{"Boss event Second ping", "Helper event Second ping",
                                      "Second event Second ping", "Filter event Second ping"}),
            journal.calls);
  journal.calls.clear();
  alpha->SendEvent(sender, "@", "hi", nullptr);
  alpha->SendEvent(sender, "FILTER", "hi", nullptr);
  alpha->SendEvent(sender, "nobody", "hi", nullptr);
  EXPECT_EQ((std::vector<std::string>{"Boss event Second hi", "Filter event Second hi"}),
            journal.calls);
}

TEST_F(ClientRoutingTest, ARequestStopsAtTheFirstAnswer) {
  char answer[16] = {};
  EXPECT_EQ(5, alpha->SendRequest(sender, "*", answer, sizeof answer, "what", nullptr));
  EXPECT_EQ((std::vector<std::string>{"Boss request Second what", "Helper request Second what"}),
            journal.calls);
  EXPECT_EQ(7, alpha->SendRequest(sender, "second", answer, sizeof answer, "what", nullptr));
  EXPECT_EQ(-1, alpha->SendRequest(sender, "Filter", answer, sizeof answer, "what", nullptr));
  EXPECT_EQ(-1, alpha->SendRequest(sender, "nobody", answer, sizeof answer, "what", nullptr));
  EXPECT_EQ(-1, alpha->SendRequest(sender, nullptr, answer, sizeof answer, "what", nullptr));
}

TEST_F(ClientRoutingTest, ListsAndLookUpsCountOnlyLoadedPlugIns) {
  EXPECT_STREQ("M:Boss A:Helper A:Second I:Filter", alpha->buildPlugsList());
  EXPECT_TRUE(alpha->hasPlug("helper"));
  EXPECT_FALSE(alpha->hasPlug("nobody"));
  int group = -1;
  EXPECT_EQ(&alpha->getMainRecord(), alpha->findSessionRecord(plug("Boss"), &group));
  EXPECT_EQ(nullptr, alpha->findSessionRecord(nullptr, &group));
  EXPECT_EQ(0, group);

  managers->unloadPlug(plug("Filter"));
  managers->unloadPlug(plug("Boss"));
  EXPECT_STREQ("A:Helper A:Second", alpha->buildPlugsList());
  EXPECT_FALSE(alpha->hasPlug("Filter"));
  EXPECT_EQ(nullptr, alpha->findSession("@"));
  journal.calls.clear();
  alpha->SendEvent(sender, "*", "x", nullptr);
  EXPECT_EQ((std::vector<std::string>{"Helper event Second x", "Second event Second x"}),
            journal.calls);
  managers->unloadPlug(plug("Helper"));
  managers->unloadPlug(plug("Second"));
  EXPECT_STREQ("", alpha->buildPlugsList());
}

}  // namespace
