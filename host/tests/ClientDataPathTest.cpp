// A client's data path with fake sessions: lines cut from chunks, the order and interception
// rules of the event dispatch, the send road, system events, re-entrant chunks and faults.
#include "host/tests/ClientFixture.h"

namespace clienttest {
namespace {

// Every event handed out, whoever got it.
Lines events() {
  Lines out;
  for (const std::string& line : journal())
    if (line.find(" event ") != std::string::npos) out.push_back(line);
  return out;
}

TEST_F(ClientTest, ChunksAreCutAfterEachLineFeedAndOnlyConnectionResultsResetTheCount) {
  struct Case {
    std::vector<std::pair<std::string, int>> chunks;  // bytes and count, -1: the whole text
    Lines lines;
  } cases[] = {
      {{{"a\nb\n", -1}}, {"0 [Unknown] a\n", "1 [Unknown] b\n"}},
      {{{"abc", -1}, {"def\n", -1}}, {"0 [Unknown] abc", "1 [Unknown] def\n"}},
      {{{"x\r\ny", -1}}, {"0 [Unknown] x\r\n", "1 [Unknown] y"}},
      {{{std::string("ab\0cd\n", 6), 6}}, {"0 [Unknown] ab"}},
      {{{"abcdef", 3}}, {"0 [Unknown] abc"}},
      {{{"", 0}, {"zz", -1}}, {"0 [Unknown] zz"}},
  };
  Client& c = makeClient();
  FakeMain main("main");
  use(plug("Main", 7), &main);
  for (const Case& test : cases) {
    journal().clear();
    c.onConnected("h", 1);  // line numbers from 0
    for (const auto& [bytes, count] : test.chunks)
      c.onSocketData(bytes.data(), count < 0 ? (int)bytes.size() : count);
    Lines expected;
    for (const std::string& line : test.lines) expected.push_back("main event " + line);
    EXPECT_EQ(expected, only("main event")) << test.lines[0];
    EXPECT_EQ((int)test.lines.size(), c.getLineCount());
  }
  c.onConnectionClosed();
  c.onSocketError("The connection has been broken.");
  EXPECT_EQ(1, c.getLineCount());
  c.onConnected(nullptr, -1);
  EXPECT_EQ(0, c.getLineCount());
}

TEST_F(ClientTest, ReceivedDataPassesSystemThenInOutsInOrderAndSentDataTheOtherWay) {
  Client& c = makeClient();
  FakeInOut first("A"), second("B");
  FakeMain main("main");
  use(plug("First", 9), &first);
  use(plug("Second", 9), &second);
  use(plug("Main", 7), &main);
  c.onSocketData("hi\n", 3);
  EXPECT_EQ((Lines{"system received alpha hi\n", "A received hi\n", "B received Ahi\n",
                   "system event alpha 0 [Unknown]", "main event 0 [Unknown] BAhi\n"}),
            journal());
  journal().clear();
  c.sendData("hello\n");
  EXPECT_EQ((Lines{"B sending hello\n", "A sending Bhello\n", "system sending alpha ABhello\n"}),
            journal());
}

TEST_F(ClientTest, InterceptionStopsOnlyWhatComesAfterIt) {
  Client& c = makeClient();
  FakeAddin takes("A1"), sees("A2");
  FakeMain main("main");
  use(plug("Takes", 8), &takes);
  use(plug("Sees", 8), &sees);
  use(plug("Main", 7), &main);
  c.onSocketData("one\n", 4);
  EXPECT_EQ((Lines{"system event alpha 0 [Unknown]", "A1 event 0 [Unknown] one\n",
                   "A2 event 0 [Unknown] one\n", "main event 0 [Unknown] one\n"}),
            events());
  // An add-in intercepts: the next add-in still hears of it, the main plug-in does not.
  journal().clear();
  takes.intercept = true;
  c.onSocketData("two\n", 4);
  EXPECT_EQ((Lines{"system event alpha 1 [Unknown]", "A1 event 1 [Unknown] two\n",
                   "A2 event 1 [Unknown] two\n (so far)"}),
            events());
  // A system plug-in intercepts: nobody else is called, and the line still counts.
  journal().clear();
  system->intercept = true;
  c.onSocketData("three\n", 6);
  EXPECT_EQ(Lines{"system event alpha 2 [Unknown]"}, events());
  EXPECT_EQ(3, c.getLineCount());
}

TEST_F(ClientTest, HappeningsPrintTheirLineAndReachEverySessionInOrder) {
  struct Case {
    std::function<void(Client&)> act;
    const char* console;  // "" for none
    std::string event;    // as each session journals it, without the session's tag
  } cases[] = {
      {[](Client& c) { c.onTryConnect("chat.example", 4000); },
       "<alpha> Try to connect to chat.example:4000\n #800080",
       "sys 1 chat.example:4000 [Port=4000 Server=chat.example]"},
      {[](Client& c) { c.onConnected("chat.example", 4000); },
       "<alpha> Connection established ! (chat.example:4000)\n #008000",
       "sys 2 chat.example:4000 [Port=4000 Server=chat.example]"},
      {[](Client& c) { c.onConnected(nullptr, -1); }, "<alpha> All connection failed !\n #000080",
       "sys 4 (none) []"},
      {[](Client& c) { c.onSocketError("Lost."); }, "<alpha> Socket error : Lost.\n #000080",
       "sys 5 Lost. [Error=Lost.]"},
      {[](Client& c) { c.onConnectionClosed(); }, "<alpha> Connection closed !\n #800000",
       "sys 3 (none) []"},
      {[](Client& c) { c.sendQuitEvent(); }, "", "sys 0 (none) []"},
  };
  Client& c = makeClient();
  FakeAddin addin("addin");
  FakeInOut inOut("inout");
  FakeMain main("main");
  // Listed main first: the order must come from the walk, not from the configuration.
  use(plug("Main", 7), &main);
  use(plug("Addin", 8), &addin);
  use(plug("InOut", 9), &inOut);
  for (const Case& test : cases) {
    SCOPED_TRACE(test.event);
    journal().clear();
    clearConsole();
    test.act(c);
    EXPECT_EQ((Lines{"system " + test.event, "addin " + test.event, "inout " + test.event,
                     "main " + test.event}),
              journal());
    EXPECT_EQ(*test.console ? Lines{test.console} : Lines{}, runs());
  }
}

// A nested message loop inside a plug-in call dispatches the next requests of the receive
// thread: they wait until the running chunk is done, then run in their order. A send from
// inside the event is not deferred.
TEST_F(ClientTest, RequestsArrivingDuringTheDataPathWaitTheirTurn) {
  Client& c = makeClient();
  FakeAddin addin("addin");
  FakeMain main("main");
  use(plug("Addin", 8), &addin);
  use(plug("Main", 7), &main);
  bool once = true;
  addin.hook = [&](EventData*) {
    if (!once) return;
    once = false;
    c.onSocketData("c\n", 2);
    c.onConnected("h", 1);
    c.onSocketData("d\n", 2);
    c.sendData("pong\n");
  };
  c.onSocketData("a\nb\n", 4);
  EXPECT_EQ((Lines{"main event 0 [Unknown] a\n", "main event 1 [Unknown] b\n",
                   "main event 2 [Unknown] c\n", "main sys 2 h:1 [Port=1 Server=h]",
                   "main event 0 [Unknown] d\n"}),
            only("main"));
  EXPECT_EQ("system sending alpha pong\n", journal()[3]);
  EXPECT_EQ(1, c.getLineCount());
}

// A pass of the loop handles a bounded share of a chunk; the rest, and whatever comes after
// it (chunks, a closed connection), follows in later passes in its order.
TEST_F(ClientTest, AChunkOfManyLinesIsHandledAcrossLoopPassesInOrder) {
  ClientTestAccess::setStepShare(3, 1 << 30);
  Client& c = makeClient();
  FakeMain main("main");
  use(plug("Main", 7), &main);
  c.onSocketData("1\n2\n3\n4\n5\n6\n7", 13);
  EXPECT_EQ(3, c.getLineCount());
  c.onSocketData("8\n", 2);
  c.onConnectionClosed();
  EXPECT_EQ(3, c.getLineCount());
  ASSERT_TRUE(vorntest::pumpUntil([&] { return only("main sys").size() == 1; }, 5000));
  Lines expected;
  for (int i = 1; i <= 8; ++i)
    expected.push_back("main event " + std::to_string(i - 1) + " [Unknown] " + std::to_string(i) +
                       (i == 7 ? "" : "\n"));
  expected.push_back("main sys 3 (none) []");
  EXPECT_EQ(expected, only("main"));
}

// Lines still waiting when the client goes away are dropped with it: nothing runs later.
TEST_F(ClientTest, AClientDeletedWithLinesWaitingLeavesNothingBehind) {
  ClientTestAccess::setStepShare(1, 1 << 30);
  Client& c = makeClient();
  FakeMain main("main");
  use(plug("Main", 7), &main);
  c.onSocketData("a\nb\nc\n", 6);
  c.onSocketData("d\n", 2);
  EXPECT_EQ(1u, only("main event").size());
  client.reset();
  vorntest::pumpFor(100);
  EXPECT_EQ(1u, only("main event").size());
}

TEST_F(ClientTest, AFaultingPluginIsReportedUnloadedAndSkippedWhileOthersGoOn) {
  Client& c = makeClient();
  FakeAddin bad("bad"), good("good");
  FakeMain main("main");
  use(plug("Bad", 8), &bad);
  use(plug("Good", 8), &good);
  use(plug("Main", 7), &main);
  bad.hook = [](EventData*) { throw 1; };
  vorntest::answerNextMessageBox(IDOK);
  c.onSocketData("x\ny\n", 4);
  auto boxes = vorntest::shownMessageBoxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_NE(std::string::npos, boxes[0].text.find("onEvent"));
  EXPECT_EQ((Lines{"bad event 0 [Unknown] x\n"}), only("bad"));
  EXPECT_EQ((Lines{"good event 0 [Unknown] x\n", "good event 1 [Unknown] y\n"}), only("good"));
  EXPECT_EQ((Lines{"main event 0 [Unknown] x\n", "main event 1 [Unknown] y\n"}), only("main"));
  EXPECT_EQ(Lines{"unload Bad"}, only("unload"));
}

TEST_F(ClientTest, TheLogTellsEachStep) {
  Client& c = makeClient();
  FakeMain main("main");
  FakeInOut inOut("io");
  use(plug("Main", 7), &main);
  use(plug("Filter", 9), &inOut);
  inOut.unchanged = true;
  c.onSocketData("hi\n", 3);
  c.sendData("out\n");
  client.reset();
  std::string log = here->folder.read("alpha.log");
  for (const char* part :
       {"| -> Inout plugin: Filter - Data:\n|   -> hi\n+> Done.\n+> Analysed line, standart "
        "event:\n"
        "| -> Line: hi\n| -> Event found: [Unknown]\n",
        "| -> Inout plugin: Filter - Data: out\n| -> System plugins call with: ioout\n",
        "-> Client destroyed.\n"})
    EXPECT_NE(std::string::npos, log.find(part)) << part << "\nin:\n" << log;
}

}  // namespace
}  // namespace clienttest
