#include <gtest/gtest.h>

#include <string>

#include "lib/RootWindow.h"
#include "platform/testing.h"
#include "plugins/NevTimeStamp/NevTimeStampSession.h"
#include "tests/support/FakeHost.h"

namespace {

class NevTimeStampTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SYSTEMTIME now{};
    now.wHour = 9;
    now.wMinute = 5;
    now.wSecond = 7;
    vorntest::setLocalTime(now);
    vorntest::clearRecordedBeeps();
    session.init();
  }
  void TearDown() override { vorntest::clearLocalTime(); }

  std::string receive(int state, const char* text) {
    session.getSetup().state = state;
    return session.onReceivedData(text);
  }

  FakeHost host;
  NevTimeStampSession session{"alpha"};
};

struct Case {
  int state;
  const char* in;
  const char* out;
};

TEST_F(NevTimeStampTest, LinesFollowTheTable) {
  const Case cases[] = {
      {1, "12:00:01 hello\n", "09:05:07 hello\n"},
      {1, "hello\n", "09:05:07 hello\n"},
      {1, "1:00:01 hi\n", "09:05:07 1:00:01 hi\n"},
      {1, "a\nb", "09:05:07 a\n09:05:07 b"},
      {1, "a\n\n", "09:05:07 a\n09:05:07 \n"},
      {1, "12:00:01 ", "09:05:07 "},
      {2, "12:00:01 hello\n", "hello\n"},
      {2, "1:00:01 hello\n", "1:00:01 hello\n"},
      {2, "12:00:01 ", ""},
      {2, "12:00:01 a\nb\n12:00:02 c", "a\nb\nc"},
      {0, "12:00:01 hello\n", "12:00:01 hello\n"},
      {0, "\a12:00:01 hi\n", "12:00:01 hi\n"},
      {2, "\a12:00:01 hi\n", "hi\n"},
      {1, "\a12:00:01 hi\n\aho\n", "09:05:07 hi\n09:05:07 ho\n"},
      {1, "", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::string(c.out), receive(c.state, c.in)) << c.state << " " << c.in;
  EXPECT_EQ(4u, vorntest::recordedBeeps().size());
  for (UINT beep : vorntest::recordedBeeps()) EXPECT_EQ(UINT(MB_ICONASTERISK), beep);
  EXPECT_STREQ("", session.onReceivedData(nullptr));
  EXPECT_EQ(nullptr, session.onDataToSend("12:00:01 x\n"));

  // A long line keeps its tail and the next line stays a line of its own.
  std::string line = "12:00:01 " + std::string(100000, 'x') + "\n";
  EXPECT_EQ("09:05:07 " + line.substr(9) + "09:05:07 next\n", receive(1, (line + "next\n").c_str()));
  EXPECT_EQ(line.substr(9), receive(2, line.c_str()));
}

// Every piece gets a stamp of its own, so a line cut by the connection gets two (NevLine in
// front joins the pieces); a cut at a line's end changes nothing.
TEST_F(NevTimeStampTest, ChunkSplitAtEveryPosition) {
  const std::string text = "12:00:01 ab\n";
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    std::string joined = receive(1, text.substr(0, cut).c_str());
    joined += receive(1, text.substr(cut).c_str());
    std::string first = text.substr(0, cut);
    if (first.size() >= 9) first.erase(0, 9);
    bool whole = cut == 0 || cut == text.size();
    EXPECT_EQ(whole ? "09:05:07 ab\n" : "09:05:07 " + first + "09:05:07 " + text.substr(cut), joined)
        << cut;
  }
}

TEST_F(NevTimeStampTest, StateOutsideItsRangeReadsAsTheDefaultAndThePageIsOneChoice) {
  for (auto state : {std::make_pair("0", 0), {"2", 2}, {"3", 1}, {"-1", 1}}) {
    host.settings["NevTimeStamp State"] = state.first;
    session.reloadSetup();
    EXPECT_EQ(state.second, session.getSetup().state) << state.first;
  }

  // The setup page's buttons act as one choice.
  RootWindow* root = new RootWindow();
  initToolkit(nullptr, 101, root);
  HWND parent = CreateWindowExA(0, "Static", "setup", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
  NevTimeStampSetup& setup = session.getSetup();
  session.createSetupWindow(parent);
  ASSERT_TRUE(setup.hasPage());
  ShowWindow(parent, SW_SHOW);
  setup.state = 2;
  session.onSetupOpen();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(i == 2, setup.buttons[i]->isChecked()) << i;
  for (int pick : {0, 1, 1}) {
    HWND button = setup.buttons[pick]->getHwnd();
    RECT area{};
    GetClientRect(button, &area);
    ASSERT_TRUE(vorntest::clickAt(button, 8, area.bottom / 2));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(i == pick, setup.buttons[i]->isChecked()) << pick << i;
    session.onSetupClose();
    EXPECT_EQ(pick, setup.state);
  }
  setup.buttons[0]->setChecked(true);
  setup.buttons[2]->setChecked(true);
  session.onSetupClose();
  EXPECT_EQ(2, setup.state) << "the last checked wins";
  DestroyWindow(parent);
  delete root;
}

}  // namespace
