// Message boxes answered by prepared buttons, with the record of what each box showed, and
// the record of beeps.
#include <gtest/gtest.h>

#include <thread>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vorntest::clearMessageBoxes();
    vorntest::clearRecordedBeeps();
  }
  void TearDown() override { vorntest::clearMessageBoxes(); }
};

TEST_F(MessageBoxTest, PreparedAnswersComeBackInOrderAndEveryBoxIsRecorded) {
  vorntest::answerNextMessageBox(IDNO);
  vorntest::answerNextMessageBox(IDCANCEL);
  vorntest::answerNextMessageBox(IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "Remove the plug-in?", "Plugs", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "caf\xE9 \xC3\xA9", nullptr, MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, nullptr, "", MB_OK), IDOK);

  std::vector<vorntest::ShownMessageBox> shown = vorntest::shownMessageBoxes();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].caption, "Plugs");
  EXPECT_EQ(shown[0].text, "Remove the plug-in?");
  EXPECT_EQ(shown[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(shown[0].answer, IDNO);
  EXPECT_EQ(shown[0].owner, nullptr);
  // The bytes are kept as passed; a box without a caption is titled "Error".
  EXPECT_EQ(shown[1].text, "caf\xE9 \xC3\xA9");
  EXPECT_EQ(shown[1].caption, "Error");
  EXPECT_EQ(shown[1].flags, static_cast<UINT>(MB_OKCANCEL | MB_DEFBUTTON2));
  EXPECT_EQ(shown[2].text, "");
  EXPECT_EQ(shown[2].caption, "");

  vorntest::clearMessageBoxes();
  EXPECT_TRUE(vorntest::shownMessageBoxes().empty());
}

TEST_F(MessageBoxTest, ClearingDropsUnusedAnswers) {
  vorntest::answerNextMessageBox(IDYES);
  vorntest::answerNextMessageBox(IDNO);
  vorntest::clearMessageBoxes();
  vorntest::answerNextMessageBox(IDRETRY);
  EXPECT_EQ(MessageBoxA(nullptr, "Again?", "Send", MB_RETRYCANCEL), IDRETRY);
}

TEST_F(MessageBoxTest, BoxesFromOtherThreadsTakeTheirAnswers) {
  vorntest::answerNextMessageBox(IDYES);
  int answer = 0;
  std::thread worker([&answer]() { answer = MessageBoxA(nullptr, "From a thread", "T", MB_YESNO); });
  worker.join();
  EXPECT_EQ(answer, IDYES);
  ASSERT_EQ(vorntest::shownMessageBoxes().size(), 1u);
  EXPECT_EQ(vorntest::shownMessageBoxes()[0].text, "From a thread");
}

TEST_F(MessageBoxTest, BeepsAreRecorded) {
  EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
  EXPECT_TRUE(MessageBeep(MB_OK));
  std::vector<UINT> beeps = vorntest::recordedBeeps();
  ASSERT_EQ(beeps.size(), 2u);
  EXPECT_EQ(beeps[0], static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(beeps[1], static_cast<UINT>(MB_OK));
  vorntest::clearRecordedBeeps();
  EXPECT_TRUE(vorntest::recordedBeeps().empty());
}

}  // namespace
