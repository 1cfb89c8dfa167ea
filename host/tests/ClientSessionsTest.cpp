// A client's sessions of its plug-ins: made from its configuration, initialised and deleted,
// added and removed by hand, dropped and made again when the managers unload and load a
// plug-in, looked up, and carrying events and requests between the client's plug-ins.
#include "host/tests/ClientFixture.h"

namespace {

using ClientSessionsTest = ClientTest;

TEST_F(ClientSessionsTest, ConfigurationNamesBecomeRecordsWithTheirReports) {
  loadPlugins({"GoodMain.vma", "GoodAddin.vad", "GoodInOut.vio"},
              "+GoodMain +Good_Addin2 -GoodInOut");
  writeIni(".\\Vornith.ini", "alpha", "Main", "goodmain");
  writeIni(".\\Vornith.ini", "alpha", "Addins", " Good_Addin2\t\tNope  Good_Addin2  ");
  writeIni(".\\Vornith.ini", "alpha", "Inout", "GoodInOut");
  Client* alpha = makeClient("alpha");
  EXPECT_EQ(
      ". Main Plug : GoodMain\n. Addins Plug : Good_Addin2\n"
      ". Addins Plug Error : Unknown name - Nope\n. Addins Plug : Good_Addin2\n"
      ". Addins Plug : GoodInOut  (Not loaded)\n",
      console());
  // The unknown name is dropped; the name given twice makes two records with their own sessions.
  EXPECT_NE(nullptr, alpha->getMainRecord().session);
  SessionRecord* first = alpha->getAddins().frontValue(true);
  SessionRecord* second = alpha->getAddins().frontValue(false);
  ASSERT_NE(first, second);
  EXPECT_NE(nullptr, first->session);
  EXPECT_NE(first->session, second->session);
  EXPECT_EQ(2, nodesOf(plug("Good_Addin2"), alpha));
  // Known but not loaded: a record and a node without a session.
  ASSERT_FALSE(alpha->getInOuts().isEmpty());
  EXPECT_EQ(nullptr, alpha->getInOuts().frontValue(true)->session);
  EXPECT_EQ(1, nodesOf(plug("GoodInOut"), alpha));

  writeIni(".\\Vornith.ini", "gamma", "Main", "Zed");
  writeIni(".\\Vornith.ini", "gamma", "Inout", "Zed");
  Client* gamma = makeClient("gamma");
  EXPECT_EQ(
      ". Main Plug Error :Unknown name - Zed\n. No addins plugin found.\n"
      ". Input/Output Plug Error : \nUnknown name - Zed\n",
      console());
  EXPECT_EQ(nullptr, gamma->getMainRecord().plug);
  EXPECT_TRUE(gamma->getInOuts().isEmpty());
}

TEST_F(ClientSessionsTest, AFaultingInitUnloadsItsPlugInAndDeleteGivesTheRestBack) {
  loadPlugins({});
  FakeFactory& bad = fake("Bad", PLUG_KIND_ADDIN);
  bad.initThrows = true;
  fake("Good", PLUG_KIND_ADDIN);
  writeIni(".\\Vornith.ini", "alpha", "Addins", "Bad Good");
  Client* alpha = makeClient("alpha");
  SessionRecord* badRecord = alpha->getAddins().frontValue(true);
  SessionRecord* goodRecord = alpha->getAddins().frontValue(false);
  vorntest::answerNextMessageBox(IDOK);
  alpha->initSessions();
  // No session, no init mark and no term owed; the walk goes on to the next record.
  ASSERT_EQ(1u, vorntest::shownMessageBoxes().size());
  EXPECT_FALSE(plug("Bad")->isLoaded());
  EXPECT_EQ(nullptr, badRecord->session);
  EXPECT_EQ(0u, badRecord->flags & SESSION_INIT_DONE);
  EXPECT_TRUE(has("Bad deleteSession"));
  EXPECT_FALSE(has("Bad term"));
  EXPECT_EQ(SESSION_INIT_DONE, goodRecord->flags & SESSION_INIT_DONE);

  journal.clear();
  alpha->deleteSessions();
  EXPECT_EQ((Lines{"Good term", "Good deleteSession"}), journal);
  EXPECT_EQ(nullptr, goodRecord->session);
  EXPECT_EQ(0, nodesOf(plug("Good"), alpha) + nodesOf(plug("Bad"), alpha));
  EXPECT_FALSE(alpha->getAddins().isEmpty());  // the records stay until the client goes
}

TEST_F(ClientSessionsTest, AddAndRemoveReportEveryStepAndEveryRefusal) {
  loadPlugins({"GoodMain.vma", "GoodAddin.vad", "GoodInOut.vio", "GoodSystem.vsy"},
              "+GoodMain +Good_Addin2 -GoodInOut +GoodSystem");
  writeIni(".\\Vornith.ini", "alpha", "Main", "GoodMain");
  Client* alpha = makeClient("alpha");
  const struct {
    bool add;
    const char* plugName;
    const char* expected;
  } cases[] = {
      {true, "Good_Addin2",
       "Add plugin 'Good_Addin2' in hand...\n- Session created.\n- Session added to the client.\n"
       "- Session initialized.\nAdd plugin 'Good_Addin2' terminated.\n"},
      {true, "Good_Addin2",
       "Add failed : The plugin 'Good_Addin2' is already present in the client 'alpha' !\n"},
      {true, "GoodInOut",
       "Add plugin 'GoodInOut' in hand...\n- Session created.\n- Session added to the client.\n"
       "- Plugin not loaded.\nAdd plugin 'GoodInOut' terminated.\n"},
      {true, "GoodSystem",
       "Add failed : The system plugin 'GoodSystem' can't be added to a client !\n"},
      {true, "GoodMain",
       "Add failed : The plugin 'GoodMain' is already present in the client 'alpha' !\n"},
      {false, "GoodMain", "Remove failed : You can't remove the main plugin from a client. !\n"},
      {false, "GoodSystem", "Remove failed : The plugin 'GoodSystem' is a system plugin !\n"},
      {false, "Good_Addin2",
       "Remove plugin 'Good_Addin2' in hand...\n- Session terminated.\n"
       "- Session removed from the client.\n- Session deleted.\n"
       "Remove plugin 'Good_Addin2' terminated.\n"},
      {false, "Good_Addin2",
       "Remove failed : The plugin 'Good_Addin2' is NOT present in the client 'alpha' !\n"},
  };
  for (const auto& c : cases) {
    clearConsole();
    if (c.add)
      alpha->addPlug(plug(c.plugName));
    else
      alpha->removePlug(plug(c.plugName));
    EXPECT_EQ(c.expected, console());
  }
  EXPECT_TRUE(alpha->getAddins().isEmpty());
  EXPECT_EQ(0, nodesOf(plug("Good_Addin2"), alpha));
  EXPECT_NE(nullptr, alpha->getMainRecord().session);
}

TEST_F(ClientSessionsTest, AFailedAddLeavesNoSessionBehind) {
  loadPlugins({});
  fake("Empty", PLUG_KIND_ADDIN).nullSession = true;
  fake("Faulty", PLUG_KIND_INOUT).initThrows = true;
  Client* alpha = makeClient("alpha");
  alpha->addPlug(plug("Empty"));
  EXPECT_NE(std::string::npos,
            console().find("Add failed : Unable to create or initialize a new session... !\n"));
  vorntest::answerNextMessageBox(IDOK);
  alpha->addPlug(plug("Faulty"));
  EXPECT_FALSE(plug("Faulty")->isLoaded());
  EXPECT_TRUE(has("Faulty deleteSession"));
  for (SessionRecord* record :
       {alpha->getAddins().frontValue(true), alpha->getInOuts().frontValue(true)}) {
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(nullptr, record->session);
    EXPECT_EQ(0u, record->flags);
    EXPECT_EQ(nullptr, record->plug->sessions->session);
  }
}

TEST_F(ClientSessionsTest, UnloadAndLoadAgainReachEveryRecordOfAPlugIn) {
  loadPlugins({});
  FakeFactory& twice = fake("Twice", PLUG_KIND_ADDIN);
  PlugRecord* record = plug("Twice");
  writeIni(".\\Vornith.ini", "alpha", "Addins", "Twice Twice");
  Client* alpha = makeClient("alpha");
  alpha->initSessions();
  SessionRecord* first = alpha->getAddins().frontValue(true);
  SessionRecord* second = alpha->getAddins().frontValue(false);
  journal.clear();
  EXPECT_TRUE(managers->unloadPlug(record));
  EXPECT_EQ(nullptr, first->session);
  EXPECT_EQ(nullptr, second->session);
  EXPECT_EQ(0u, (first->flags | second->flags) & SESSION_INIT_DONE);
  EXPECT_EQ((Lines{"Twice term", "Twice deleteSession", "Twice term", "Twice deleteSession",
                   "Twice factory term"}),
            journal);
  EXPECT_EQ(2, nodesOf(record, alpha));  // the nodes wait for the plug-in to come back

  // The managers bind the module again, then ask each node's client.
  record->factory = &twice;
  record->flags |= PLUG_LOADED;
  EXPECT_TRUE(alpha->loadPlug(record));
  EXPECT_TRUE(alpha->loadPlug(record));
  EXPECT_EQ(SESSION_INIT_DONE, first->flags & second->flags & SESSION_INIT_DONE);
  EXPECT_NE(nullptr, record->findSession(first->session));
  EXPECT_NE(nullptr, record->findSession(second->session));
  EXPECT_FALSE(alpha->loadPlug(record));  // nothing is left to load
}

class ClientRoutingTest : public ClientTest {
 protected:
  void SetUp() override {
    ClientTest::SetUp();
    if (IsSkipped()) return;
    loadPlugins({});
    fake("Boss", PLUG_KIND_MAIN);
    fake("Helper", PLUG_KIND_ADDIN).answer = 5;
    fake("Second", PLUG_KIND_ADDIN).answer = 7;
    fake("Filter", PLUG_KIND_INOUT);
    writeIni(".\\Vornith.ini", "alpha", "Main", "Boss");
    writeIni(".\\Vornith.ini", "alpha", "Addins", "Helper Second");
    writeIni(".\\Vornith.ini", "alpha", "Inout", "Filter");
    alpha = makeClient("alpha");
    sender = alpha->findSession("second")->session;
    journal.clear();
  }
  Client* alpha = nullptr;
  PlugsObject* sender = nullptr;
};

TEST_F(ClientRoutingTest, EventsReachTheMainPlugInFirstAndRequestsStopAtTheFirstAnswer) {
  alpha->SendEvent(sender, "*", "ping", nullptr);
  alpha->SendEvent(sender, "@", "hi", nullptr);
  alpha->SendEvent(sender, "FILTER", "hi", nullptr);
  alpha->SendEvent(sender, "nobody", "hi", nullptr);
  EXPECT_EQ((Lines{"Boss event Second ping", "Helper event Second ping", "Second event Second ping",
                   "Filter event Second ping", "Boss event Second hi", "Filter event Second hi"}),
            journal);
  journal.clear();
  char answer[16] = {};
  EXPECT_EQ(5, alpha->SendRequest(sender, "*", answer, sizeof answer, "what", nullptr));
  EXPECT_EQ((Lines{"Boss request Second what", "Helper request Second what"}), journal);
  EXPECT_EQ(7, alpha->SendRequest(sender, "second", answer, sizeof answer, "what", nullptr));
  for (const char* to : {"Filter", "nobody", static_cast<const char*>(nullptr)})
    EXPECT_EQ(-1, alpha->SendRequest(sender, to, answer, sizeof answer, "what", nullptr));
}

TEST_F(ClientRoutingTest, ListsAndLookUpsCountOnlyLoadedPlugIns) {
  EXPECT_STREQ("M:Boss A:Helper A:Second I:Filter", alpha->buildPlugsList());
  EXPECT_TRUE(alpha->hasPlug("helper"));
  int group = -1;
  EXPECT_EQ(&alpha->getMainRecord(), alpha->findSessionRecord(plug("Boss"), &group));
  EXPECT_EQ(nullptr, alpha->findSessionRecord(nullptr, &group));
  managers->unloadPlug(plug("Filter"));
  managers->unloadPlug(plug("Boss"));
  EXPECT_STREQ("A:Helper A:Second", alpha->buildPlugsList());
  EXPECT_FALSE(alpha->hasPlug("Filter"));
  EXPECT_EQ(nullptr, alpha->findSession("@"));
  journal.clear();
  alpha->SendEvent(sender, "*", "x", nullptr);
  EXPECT_EQ((Lines{"Helper event Second x", "Second event Second x"}), journal);
}

}  // namespace
