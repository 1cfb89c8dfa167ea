// The alert rules and the pop-up's geometry as pure code, then the session over the fake host:
// who raises an alert, what shows, what sounds, and the sample request.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/testing.h"
#include "tests/support/FakeHost.h"
#include "plugins/vaware/AlertGeometry.h"
#include "plugins/vaware/AlertRules.h"
#include "plugins/vaware/VawareSession.h"

namespace {

TEST(AlertRulesTest, WordsNeedBoundariesOnlyWithWordOnly) {
  for (const char* text : {"Concatenate", "CATS"})
    EXPECT_TRUE(AlertRules::containsWord(text, "cat", false)) << text;
  for (const char* text : {"the cat.", "cat5", "a CAT!", "bobcat cat"})
    EXPECT_TRUE(AlertRules::containsWord(text, "cat", true)) << text;
  for (const char* text : {"concatenate", "cats", "bobcat"})
    EXPECT_FALSE(AlertRules::containsWord(text, "cat", true)) << text;
  EXPECT_FALSE(AlertRules::containsWord("anything", "", false));  // never loops
  EXPECT_TRUE(AlertRules::containsWord("caf\xe9 ok", "caf", true));  // bytes above 127 split
}

TEST(AlertRulesTest, EventKindsAndDelays) {
  EXPECT_EQ(AlertRules::kindOf("TELLAWAY"), AlertRules::TellEvent);
  EXPECT_EQ(AlertRules::kindOf("te"), AlertRules::NoAlert);
  EXPECT_EQ(AlertRules::kindOf("youtell"), AlertRules::NoAlert);
  EXPECT_EQ(AlertRules::hideDelayMs(1000, 120), 3000u);
  EXPECT_EQ(AlertRules::hideDelayMs(1000, 59), 1983u);
  EXPECT_EQ(AlertRules::hideDelayMs(1000, 1 << 20), AlertRules::kMaxDelayMs);  // not 36 minutes
  EXPECT_EQ(AlertRules::cutLine("caf\xc3\xa9", 4), "caf...");  // never half a character
}

TEST(AlertGeometryTest, CornersWrappingAndEmptyLines) {
  // 80 x 16 measured at size 16 is 160 x 32; the template is 100 wide: two lines.
  const RECT screen{0, 0, 1600, 1000};
  AlertPlacement p = AlertGeometry::place(80, 16, 16, 100, screen, 1);
  EXPECT_EQ(p.width, 100);
  EXPECT_EQ(p.height, 2 * 32 + 5);
  EXPECT_EQ(p.x, 1500);
  EXPECT_EQ(p.y, 0);
  for (int position : {0, 4, 65535}) {  // unknown corners are the bottom left
    p = AlertGeometry::place(40, 16, 8, 100, screen, position);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 979);
  }
  p = AlertGeometry::place(0, 16, 8, 0, screen, 2);  // no text, no width: no division by 0
  EXPECT_EQ(p.width, 1);
  EXPECT_EQ(p.height, 21);
  // More lines than the work area holds: only those that fit, inside the area's edges.
  p = AlertGeometry::place(100000, 16, 8, 100, RECT{0, 30, 1600, 1000}, 2);
  EXPECT_EQ(p.shownLines, (970 - 5) / 16);
  EXPECT_LT(p.shownLines, p.lines);
  EXPECT_EQ(p.y, 30);
  EXPECT_LE(p.y + p.height, 1000);
}

class VawareSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HMODULE program = GetModuleHandleA(nullptr);
    setPlugsModuleInstance(program);
    AlertPopup::registerTemplate(program);
    vorntest::clearRecordedSounds();
    vorntest::useSilentSoundDevice();
    vorntest::setWorkArea(RECT{0, 0, 1600, 1000});
    host.answers["login"] = {5, "Alice"};
    session.init();
  }
  void TearDown() override {
    session.term();
    vorntest::clearWorkArea();
    vorntest::clearSoundDevice();
    if (hostWindow) DestroyWindow(hostWindow);
  }
  void event(const char* name, const char* line, const Vars& vars) {
    EXPECT_FALSE(feedAddin(session, name, vars, line));
  }
  bool popupShown() { return IsWindowVisible(session.popup().window()) != FALSE; }
  std::string popupText() {
    char text[256] = {};
    GetDlgItemTextA(session.popup().window(), AlertPopup::kEditId, text, sizeof text);
    return text;
  }
  size_t sounds() { return vorntest::recordedSounds().size(); }

  FakeHost host;
  VawareSession session{"alpha"};
  HWND hostWindow = nullptr;
};

TEST_F(VawareSessionTest, ATellFromSomeoneElseShowsItsFirstLineAndPlaysTheTellSound) {
  host.settings["VawareOnTellFilename"] = "tell.wav";
  host.settings["VawarePosition"] = "3";
  session.reloadSetup();
  event("tell", "Bob tells you: hi\r\nmore", {{"nick", "Bob"}, {"text", "hi"}});
  ASSERT_TRUE(popupShown());
  EXPECT_EQ(popupText(), "Bob tells you: hi");
  RECT r{};
  GetWindowRect(session.popup().window(), &r);
  EXPECT_EQ(r.right, 1600);  // bottom right of the work area
  EXPECT_EQ(r.bottom, 1000);
  std::vector<vorntest::PlayedSound> played = vorntest::recordedSounds();
  ASSERT_EQ(played.size(), 1u);
  EXPECT_EQ(played[0].sound, "tell.wav");
  EXPECT_EQ(played[0].flags, 0x20013u);
  vorntest::saveWindowPng(session.popup().window(), "vaware-popup.png");

  SendMessageA(session.popup().window(), WM_TIMER, AlertPopup::kHideTimer, 0);
  EXPECT_FALSE(popupShown());
}

TEST_F(VawareSessionTest, AHugeTellFitsTheWorkAreaCutWithAMark) {
  vorntest::setWorkArea(RECT{0, 24, 800, 600});
  for (const char* position : {"1", "3"}) {
    host.settings["VawarePosition"] = position;
    session.reloadSetup();
    std::string huge = "Bob tells you: " + std::string(128 * 1024, 'w') + "\r\nmore";
    event("tell", huge.c_str(), {{"nick", "Bob"}});
    ASSERT_TRUE(popupShown());
    RECT r{};
    GetWindowRect(session.popup().window(), &r);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 24);
    EXPECT_LE(r.right, 800);
    EXPECT_LE(r.bottom, 600);
    char text[8192] = {};
    GetDlgItemTextA(session.popup().window(), AlertPopup::kEditId, text, sizeof text);
    std::string shown = text;
    EXPECT_EQ(shown.compare(0, 15, "Bob tells you: "), 0);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
  }
}

TEST_F(VawareSessionTest, OwnLinesNeverAlertAndWordsFollowTheirOrder) {
  event("tell", "alice tells you: me", {{"nick", "alice"}});  // case ignored
  session.options().words() = {"", "dog", "cat"};
  session.options().setText(6, "word.wav");
  event("sentence", "<ALICE> cat", {{"nick", "ALICE"}, {"text", "cat"}});
  event("sentence", "<bob> nothing", {{"nick", "bob"}, {"text", "nothing"}});
  event("shout", "bob shouts: no text", {{"nick", "bob"}});
  EXPECT_EQ(sounds(), 0u);
  EXPECT_FALSE(popupShown());
  event("emote", "* bob pets the cat", {{"nick", "bob"}, {"text", "pets the cat"}});
  ASSERT_EQ(sounds(), 1u);
  EXPECT_EQ(vorntest::recordedSounds()[0].sound, "word.wav");
  EXPECT_TRUE(popupShown());

  // An unanswered login means nobody is the user.
  host.answers.erase("login");
  event("tell", "alice tells you: hi", {{"nick", "alice"}});
  EXPECT_EQ(sounds(), 2u);
}

TEST_F(VawareSessionTest, TheHostInFrontSilencesUnlessSoundOnlyAndNoSoundKeepsThePopUp) {
  hostWindow = CreateWindowExA(0, "Static", "host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
  ShowWindow(hostWindow, SW_SHOW);
  SetForegroundWindow(hostWindow);
  host.table.systemWindow = hostWindow;
  session.showAlert("hello", 1000, "beep.wav");
  EXPECT_EQ(sounds(), 0u);
  EXPECT_FALSE(popupShown());
  session.options().row(0).number = 1;  // SoundOnly
  session.showAlert("hello", 1000, "beep.wav");
  EXPECT_EQ(sounds(), 1u);
  EXPECT_FALSE(popupShown());

  host.table.systemWindow = nullptr;
  session.options().row(0).number = 0;
  session.options().row(2).number = 1;  // NoSound
  session.showAlert("hello", 1000, "beep.wav");
  EXPECT_TRUE(popupShown());
  EXPECT_EQ(sounds(), 1u);
  session.showAlert("hello", 1000, nullptr);  // a null sound plays nothing
  EXPECT_EQ(sounds(), 1u);
}

TEST_F(VawareSessionTest, WithoutThePopUpTheSoundStillPlays) {
  VawareSession other("beta");
  setPlugsModuleInstance(reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x7ffffff0)));
  other.init();
  EXPECT_FALSE(other.popup().exists());
  other.showAlert("hello", 1000, "beep.wav");
  EXPECT_EQ(sounds(), 1u);
  other.term();
}

TEST_F(VawareSessionTest, SampleAnswersStayInsideTheBuffer) {
  char answer[8];
  char first[] = "i want the FIRST sentence";
  EXPECT_EQ(session.onRequest("x", answer, sizeof answer, "SENTENCE", first), 7);
  EXPECT_STREQ(answer, "This is");
  EXPECT_EQ(session.onRequest("x", answer, 0, "sentence", first), -1);
  EXPECT_EQ(session.onRequest("x", answer, sizeof answer, "sentence", nullptr), -1);
}

}  // namespace
