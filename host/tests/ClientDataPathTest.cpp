// A client's data path with fake sessions: lines cut from chunks, the order and interception
// rules of the event dispatch, the send road, system events, re-entrant chunks and faults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/tests/ClientFixture.h"
#include "platform/testing.h"

namespace clienttest {
namespace {

using Lines = std::vector<std::string>;

// The journal lines that start with prefix.
Lines only(const std::string& prefix) {
  Lines out;
  for (const std::string& line : journal())
    if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
  return out;
}

// Every event handed out, whoever got it.
Lines events() {
  Lines out;
  for (const std::string& line : journal())
    if (line.find(" event ") != std::string::npos) out.push_back(line);
  return out;
}

struct Chunk {
  std::string bytes;
  int count;  // -1: the whole text
};

TEST_F(ClientTest, ChunksAreCutAfterEachLineFeedAndNothingIsCarriedOver) {
  struct Case {
    const char* what;
    std::vector<Chunk> chunks;
    Lines lines;  // as the main plug-in sees them
  } cases[] = {
      {"two lines", {{"a\nb\n", -1}}, {"main event 0 [Unknown] a\n", "main event 1 [Unknown] b\n"}},
      {"split line",
       {{"abc", -1}, {"def\n", -1}},
       {"main event 0 [Unknown] abc", "main event 1 [Unknown] def\n"}},
      {"CR kept, rest at once",
       {{"x\r\ny", -1}},
       {"main event 0 [Unknown] x\r\n", "main event 1 [Unknown] y"}},
      {"cut at NUL", {{std::string("ab\0cd\n", 6), 6}}, {"main event 0 [Unknown] ab"}},
      {"cut at count", {{"abcdef", 3}}, {"main event 0 [Unknown] abc"}},
      {"empty chunk", {{"", 0}, {"zz", -1}}, {"main event 0 [Unknown] zz"}},
  };
  Client& c = makeClient();
  FakeMain main("main");
  use(plug("Main", 7), &main);
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    journal().clear();
    c.onConnected("h", 1);  // line numbers from 0
    for (const Chunk& chunk : test.chunks)
      c.onSocketData(chunk.bytes.data(), chunk.count < 0 ? (int)chunk.bytes.size() : chunk.count);
    EXPECT_EQ(test.lines, only("main event"));
    EXPECT_EQ((int)test.lines.size(), c.getLineCount());
  }
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

  // No interception: every add-in, then the main plug-in.
  c.onSocketData("one\n", 4);
  EXPECT_EQ((Lines{"system event alpha 0 [Unknown]", "A1 event 0 [Unknown] one\n",
                   "A2 event 0 [Unknown] one\n", "main event 0 [Unknown] one\n"}),
            events());

  // The first add-in intercepts: the second still hears of it, the main plug-in does not.
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

TEST_F(ClientTest, OnlyConnectionResultsResetTheLineCounter) {
  Client& c = makeClient();
  c.onSocketData("a\nb\n", 4);
  c.onConnectionClosed();
  c.onSocketError("The connection has been broken.");
  EXPECT_EQ(2, c.getLineCount());
  c.onConnected(nullptr, -1);
  EXPECT_EQ(0, c.getLineCount());
  c.onSocketData("a\n", 2);
  c.onConnected("h", 1);
  EXPECT_EQ(0, c.getLineCount());
}

TEST_F(ClientTest, HappeningsPrintTheirLineAndReachEverySessionInOrder) {
  struct Case {
    const char* what;
    std::function<void(Client&)> act;
    const char* console;  // "" for none
    std::string event;    // as each session journals it, without the session's tag
  } cases[] = {
      {"try", [](Client& c) { c.onTryConnect("chat.example", 4000); },
       "<alpha> Try to connect to chat.example:4000\n #800080",
       "sys 1 chat.example:4000 [Port=4000 Server=chat.example]"},
      {"connected", [](Client& c) { c.onConnected("chat.example", 4000); },
       "<alpha> Connection established ! (chat.example:4000)\n #008000",
       "sys 2 chat.example:4000 [Port=4000 Server=chat.example]"},
      {"all failed", [](Client& c) { c.onConnected(nullptr, -1); },
       "<alpha> All connection failed !\n #000080", "sys 4 (none) []"},
      {"error", [](Client& c) { c.onSocketError("You are not connected."); },
       "<alpha> Socket error : You are not connected.\n #000080",
       "sys 5 You are not connected. [Error=You are not connected.]"},
      {"closed", [](Client& c) { c.onConnectionClosed(); }, "<alpha> Connection closed !\n #800000",
       "sys 3 (none) []"},
      {"quit", [](Client& c) { c.sendQuitEvent(); }, "", "sys 0 (none) []"},
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
    SCOPED_TRACE(test.what);
    journal().clear();
    SendMessageA(pane->getHwnd(), WM_SETTEXT, 0, (LPARAM) "");
    test.act(c);
    EXPECT_EQ((Lines{"system " + test.event, "addin " + test.event, "inout " + test.event,
                     "main " + test.event}),
              journal());
    EXPECT_EQ(*test.console ? Lines{test.console} : Lines{}, shownRuns());
  }
}

// A nested message loop inside a plug-in call dispatches the next requests of the receive
// thread: they wait until the running chunk is done, then run in their order.
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
  };
  c.onSocketData("a\nb\n", 4);
  EXPECT_EQ((Lines{"main event 0 [Unknown] a\n", "main event 1 [Unknown] b\n",
                   "main event 2 [Unknown] c\n", "main sys 2 h:1 [Port=1 Server=h]",
                   "main event 0 [Unknown] d\n"}),
            only("main"));
  EXPECT_EQ(1, c.getLineCount());
}

// A plug-in that sends while the received line is dispatched goes straight to the send road.
TEST_F(ClientTest, SendingFromInsideAnEventIsNotDeferred) {
  Client& c = makeClient();
  FakeAddin addin("addin");
  use(plug("Addin", 8), &addin);
  addin.hook = [&](EventData*) { c.sendData("pong\n"); };
  c.onSocketData("ping\n", 5);
  EXPECT_EQ((Lines{"system received alpha ping\n", "system event alpha 0 [Unknown]",
                   "addin event 0 [Unknown] ping\n", "system sending alpha pong\n"}),
            journal());
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

  std::vector<vorntest::ShownMessageBox> boxes = vorntest::shownMessageBoxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Plugin's Critical Error !!!", boxes[0].caption);
  EXPECT_NE(std::string::npos, boxes[0].text.find("onEvent"));
  EXPECT_EQ((Lines{"bad event 0 [Unknown] x\n"}), only("bad"));
  EXPECT_EQ((Lines{"good event 0 [Unknown] x\n", "good event 1 [Unknown] y\n"}), only("good"));
  EXPECT_EQ((Lines{"main event 0 [Unknown] x\n", "main event 1 [Unknown] y\n"}), only("main"));
  EXPECT_EQ(Lines{"unload Bad"}, only("unload"));
  EXPECT_EQ(2, c.getLineCount());
}

TEST_F(ClientTest, TheLogTellsEachStepInItsOwnWords) {
  Client& c = makeClient();
  FakeMain main("main");
  FakeInOut inOut("io");
  use(plug("Main", 7), &main);
  use(plug("Filter", 9), &inOut);
  inOut.unchanged = true;
  c.onSocketData("hi\n", 3);
  c.onConnected(nullptr, -1);
  c.sendData("out\n");
  c.sendQuitEvent();
  client.reset();
  std::string log = folder.read("alpha.log");
  for (const char* part : {
           "+> Data received from the socket:\n"
           "| -> System plugins call with: \n"
           "|   -> hi\n"
           "| -> Inout plugin: Filter - Data:\n"
           "|   -> hi\n"
           "+> Done.\n"
           "+> Analysed line, standart event:\n"
           "| -> Line: hi\n"
           "| -> Event found: [Unknown]\n"
           "|   -> Nb vars: 0.\n"
           "| -> Event sent to the system plugins.Sent to the main plugin: Main\n"
           "+> Done.",
           // The line before ends its section without a line feed, so this one continues it.
           "+> Done.Connection established ((null):-1).\n",
           "+> Send data to the socket:\n"
           "| -> Inout plugin: Filter - Data: out\n"
           "| -> System plugins call with: ioout\n"
           "| -> Data to send: ioout\n",
           "-> Quit event.\n"
           "+> System event: \n"
           "| -> EventID: 0\n"
           "| -> Data:\n"
           "|   -> Nb vars: 0.\n"
           "| -> Send to the system plugs\n"
           "| -> Send to the addins plugs\n"
           "| -> Send to the inout plugs\n"
           "| -> Send to the main plug\n"
           "+> Done.\n",
           "-> Client destroyed.\n",
       })
    EXPECT_NE(std::string::npos, log.find(part)) << part << "\nin:\n" << log;
}

}  // namespace
}  // namespace clienttest
