#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lib/RootWindow.h"
#include "plugins/NevLine/NevLineSession.h"
#include "tests/support/FakeHost.h"

namespace {

using Texts = std::vector<std::string>;

class NevLineTest : public ::testing::Test {
 protected:
  void SetUp() override { session.init(); }

  // What the session released for each chunk in turn.
  Texts receive(const Texts& chunks) {
    Texts released;
    for (const std::string& chunk : chunks) released.push_back(session.onReceivedData(chunk.c_str()));
    return released;
  }
  // The main plug-in answers "senddataok" with this byte.
  void answerPeerData(char byte) {
    static char answer;
    answer = byte;
    host.table.sendRequest = [](PlugsObject*, const char*, char* buffer, int size,
                                const char* request, void*) {
      EXPECT_STREQ("senddataok", request);
      EXPECT_EQ(1, size);
      buffer[0] = answer;
      return 1;
    };
  }

  FakeHost host;
  NevLineSession session{"alpha"};
};

TEST_F(NevLineTest, ReceivedTextIsReleasedInWholeLinesAndPromptsAtOnce) {
  EXPECT_EQ((Texts{"", "hello\n", "world\n"}), receive({"hel", "lo\nwor", "ld\n"}));
  EXPECT_EQ((Texts{"a\n", "b\r\n"}), receive({"a\nb", "\r\n"}));
  for (const char* prompt : {"<Nev> Login: ", "12:00:00 <Nev> Password: ",
                             "12:00:00 \xFF\xFB\x01<Nev> Password: ", "old\n<Nev> Login: ",
                             "<Nev> Password: \xFF\xFB\x01"})
    EXPECT_EQ(std::string(prompt) + "\n", session.onReceivedData(prompt)) << prompt;
  // Too short to be examined, no prompt where one is looked for, or a prompt not yet whole.
  for (const char* kept : {"<Nev>", "12:00:00 <Nev", "1<Nev> Login", "x <Nev> Login: ",
                           "<Nev> Login", "<Nev> Login:", "12:00:00 <Nev> Password"}) {
    EXPECT_EQ((Texts{"", std::string(kept) + "\n"}), receive({kept, "\n"})) << kept;
  }
}

// However the network cuts a prompt, it goes out whole, once its ": " has come.
TEST_F(NevLineTest, ChunkSplitAtEveryPosition) {
  const std::string text = "12:00:00 hi\n12:00:01 <Nev> Login: ";
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    NevLineSession fresh("alpha");
    std::string joined = fresh.onReceivedData(text.substr(0, cut).c_str());
    joined += fresh.onReceivedData(text.substr(cut).c_str());
    EXPECT_EQ(text + "\n", joined) << cut;
    EXPECT_EQ("", fresh.getPending()) << cut;
  }
}

// A line the connection's end cut short is dropped, not glued to the next connection's first.
TEST_F(NevLineTest, ATailDoesNotOutliveItsConnection) {
  for (int id : {1, 2, 3, 4, 5}) {
    EXPECT_STREQ("", session.onReceivedData("eve tells you: this line is cut in the midd"));
    session.onSystemEvent(id, nullptr);
    EXPECT_STREQ("<Nev> Welcome\n", session.onReceivedData("<Nev> Welcome\n")) << id;
  }
  session.onReceivedData("kept");
  session.onSystemEvent(6, nullptr);  // a colour change is no connection's end
  EXPECT_STREQ("kept over\n", session.onReceivedData(" over\n"));
}

// Each release ends with a line feed of its own; no byte is lost.
TEST_F(NevLineTest, EndlessTailIsReleasedPastItsBound) {
  const std::string block(4096, 'x');
  std::string released;
  for (int i = 0; i < 100; ++i) {
    released += session.onReceivedData(block.c_str());
    ASSERT_LE(session.getPending().size(), NevLineSession::kMaxPending);
  }
  size_t releases = std::count(released.begin(), released.end(), '\n');
  EXPECT_EQ(5u, releases) << "one per 17 blocks";
  EXPECT_EQ(100 * block.size(), released.size() - releases + session.getPending().size());
}

TEST_F(NevLineTest, TabsReachTheNextTabStopOfTheirLine) {
  struct Case {
    int size;
    const char* in;
    const char* out;
  } const table[] = {
      {4, "\tx", "    x"},       {4, "ab\tc", "ab  c"},         {4, "abcd\te", "abcd    e"},
      {4, "ab\ncd\te", "ab\ncd  e"}, {2, "\t\t", "    "},      {0, "\tx", "    x"},
      {-3, "a\tb", "a   b"},       {40, "\t", "                "},
  };
  for (const Case& c : table) {
    session.getSetup().tabSize = c.size;
    EXPECT_STREQ(c.out, session.onDataToSend(c.in)) << c.size << " " << c.in;
  }
  session.getSetup().tab2Space = false;
  EXPECT_STREQ("ab\n", session.onDataToSend("a\tb\t\n"));
}

TEST_F(NevLineTest, RefusedPeerDataDropsPeerLinesAndTheUnfinishedRest) {
  EXPECT_STREQ("senddata bob x\nhi", session.onDataToSend("senddata bob x\nhi")) << "unanswered";
  answerPeerData(0);
  EXPECT_STREQ("hello\n", session.onDataToSend("senddata bob x\nhello\n"));
  EXPECT_STREQ("", session.onDataToSend("hi"));
  EXPECT_STREQ("a\nsenddatax\n", session.onDataToSend("a\nsenddatax\nsenddata \nb"));
  answerPeerData(1);
  EXPECT_STREQ("senddata bob x\nhi", session.onDataToSend("senddata bob x\nhi"));
}

TEST_F(NevLineTest, TabSizeIsClampedFromTheSettingsAndThePage) {
  for (auto size : {std::make_pair("0", 4), {"-2", 4}, {"99", 16}, {"7", 7}}) {
    host.settings["NevLine TabSize"] = size.first;
    session.reloadSetup();
    EXPECT_EQ(size.second, session.getSetup().tabSize) << size.first;
  }
  RootWindow* root = new RootWindow();
  initToolkit(nullptr, 101, root);
  HWND parent = CreateWindowExA(0, "Static", "setup", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
  NevLineSetup& setup = session.getSetup();
  session.createSetupWindow(parent);
  session.onSetupOpen();
  char text[32] = {};
  setup.sizeZone->getText(text, sizeof text);
  EXPECT_STREQ("7", text);
  for (auto zone : {std::make_pair("12", 12), {"", 4}, {"-5", 4}, {"300", 16},
                    {"000000000000000123", 4}}) {
    setup.sizeZone->setText(zone.first);
    session.onSetupClose();
    EXPECT_EQ(zone.second, setup.tabSize) << zone.first;
  }
  DestroyWindow(parent);
  delete root;
}

}  // namespace
