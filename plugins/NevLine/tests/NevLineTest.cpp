#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lib/RootWindow.h"
#include "plugins/NevLine/NevLineSession.h"
#include "plugins/testsupport/FakeHost.h"

namespace {

class NevLineTest : public ::testing::Test {
 protected:
  void SetUp() override { session.init(); }

  // Every chunk in turn; what the session released, one entry per chunk.
  std::vector<std::string> receive(const std::vector<std::string>& chunks) {
    std::vector<std::string> released;
    for (const std::string& chunk : chunks) released.push_back(session.onReceivedData(chunk.c_str()));
    return released;
  }
  void refusePeerData() {
    host.table.sendRequest = [](PlugsObject*, const char*, char* answer, int, const char*, void*) {
      answer[0] = 0;
      return 1;
    };
  }

  FakeHost host;
  NevLineSession session{"alpha"};
};

using Released = std::vector<std::string>;

TEST_F(NevLineTest, ReceivedTextIsReleasedInWholeLines) {
  EXPECT_EQ((Released{"", "hello\n", "world\n"}), receive({"hel", "lo\nwor", "ld\n"}));
  EXPECT_EQ((Released{"a\nb\n", ""}), receive({"a\nb\nc", ""}));
  EXPECT_EQ("c", session.getPending());
  EXPECT_EQ((Released{"c\r\n"}), receive({"\r\n"}));
  EXPECT_STREQ("", session.onReceivedData(nullptr));
}

TEST_F(NevLineTest, PromptsAreReleasedAtOnce) {
  const char* const released[] = {"<Nev> Login: ", "12:00:00 <Nev> Password: ",
                                  "12:00:00 xx <Nev> Password", "<Nev> Password:",
                                  "old\n<Nev> Login"};
  for (const char* text : released) {
    EXPECT_EQ(std::string(text) + "\n", session.onReceivedData(text)) << text;
    EXPECT_EQ("", session.getPending());
  }
  // Too short to be examined, or not a prompt where one is looked for.
  const char* const kept[] = {"<Nev>", "12:00:00 <Nev", "1<Nev> Login", "x <Nev> Login",
                              "12:00:00 <Nev> Passw"};
  for (const char* text : kept) {
    EXPECT_EQ("", std::string(session.onReceivedData(text))) << text;
    EXPECT_EQ(text, session.getPending());
    session.onReceivedData("\n");
  }
}

// Only a prompt depends on where the connection cut the text: it is released as soon as its
// keyword is whole, so a cut just behind the keyword releases the keyword alone.
TEST_F(NevLineTest, ChunkSplitAtEveryPosition) {
  const std::string text = "12:00:00 hi\n12:00:01 <Nev> Login: ";
  const size_t keywordEnd = text.find("Login") + 5;
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    NevLineSession fresh("alpha");
    std::string joined = fresh.onReceivedData(text.substr(0, cut).c_str());
    joined += fresh.onReceivedData(text.substr(cut).c_str());
    bool early = cut >= keywordEnd && cut < text.size();
    EXPECT_EQ(early ? text.substr(0, cut) + "\n" : text + "\n", joined) << cut;
    EXPECT_EQ(early ? text.substr(cut) : "", fresh.getPending()) << cut;
  }
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
  } const cases[] = {
      {4, "\tx", "    x"},        {4, "ab\tc", "ab  c"},         {4, "a\tb", "a   b"},
      {4, "abcd\te", "abcd    e"}, {4, "ab\ncd\te", "ab\ncd  e"}, {2, "\t\t", "    "},
      {0, "\tx", "    x"},        {-3, "a\tb", "a   b"},        {40, "\t", "                "},
  };
  for (const Case& c : cases) {
    session.getSetup().tabSize = c.size;
    EXPECT_STREQ(c.out, session.onDataToSend(c.in)) << c.size << " " << c.in;
  }
  session.getSetup().tab2Space = false;
  EXPECT_STREQ("ab\n", session.onDataToSend("a\tb\t\n"));
}

TEST_F(NevLineTest, RefusedPeerDataDropsPeerLinesAndTheUnfinishedRest) {
  EXPECT_STREQ("senddata bob x\nhi", session.onDataToSend("senddata bob x\nhi"))
      << "unanswered: unchanged";
  refusePeerData();
  EXPECT_STREQ("hello\n", session.onDataToSend("senddata bob x\nhello\n"));
  EXPECT_STREQ("", session.onDataToSend("hi"));
  EXPECT_STREQ("a\nsenddatax\n", session.onDataToSend("a\nsenddatax\nsenddata \nb"));
  host.table.sendRequest = [](PlugsObject*, const char*, char* answer, int size, const char* request,
                              void*) {
    EXPECT_STREQ("senddataok", request);
    EXPECT_EQ(1, size);
    answer[0] = 1;
    return 1;
  };
  EXPECT_STREQ("senddata bob x\nhi", session.onDataToSend("senddata bob x\nhi"));
}

TEST_F(NevLineTest, SettingsAreClampedWhenRead) {
  const std::pair<const char*, int> sizes[] = {{"0", 4}, {"-2", 4}, {"99", 16}, {"7", 7}};
  for (const auto& size : sizes) {
    host.settings["NevLine TabSize"] = size.first;
    session.reloadSetup();
    EXPECT_EQ(size.second, session.getSetup().tabSize) << size.first;
  }
  host.settings["NevLine Tab2Space"] = "0";
  session.reloadSetup();
  session.writeSetup();
  EXPECT_EQ("0", host.settings["NevLine Tab2Space"]);
  EXPECT_EQ("7", host.settings["NevLine TabSize"]);
}

TEST_F(NevLineTest, SetupPageShowsAndTakesTheSettings) {
  RootWindow* root = new RootWindow();
  initToolkit(nullptr, 101, root);
  HWND parent = CreateWindowExA(0, "Static", "setup", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
  NevLineSetup& setup = session.getSetup();
  setup.tabSize = 8;
  session.createSetupWindow(parent);
  ASSERT_TRUE(setup.hasPage());
  session.onSetupOpen();
  EXPECT_TRUE(setup.convertBox->isChecked());
  char text[32] = {};
  setup.sizeZone->getText(text, sizeof text);
  EXPECT_STREQ("8", text);
  const std::pair<const char*, int> zones[] = {
      {"12", 12}, {"", 4}, {"x", 4}, {"0", 4}, {"-5", 4}, {"300", 16}, {"000000000000000123", 4}};
  for (const auto& zone : zones) {
    setup.sizeZone->setText(zone.first);
    setup.convertBox->setChecked(false);
    session.onSetupClose();
    EXPECT_EQ(zone.second, setup.tabSize) << zone.first;
    EXPECT_FALSE(setup.tab2Space);
  }
  DestroyWindow(parent);
  delete root;
}

}  // namespace
