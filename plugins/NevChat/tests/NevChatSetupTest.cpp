#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

#include "lib/RootWindow.h"
#include "plugins/NevChat/PasswordScrambler.h"
#include "plugins/NevChat/tests/SessionProbe.h"

namespace {

TEST(PasswordScramblerTest, ScrambledTextIsPrintableAndComesBack) {
  const char* const passwords[] = {
      "secret", "~~~~~~~~", "`", "a b\"c=d;e", "\x7F\x80\x9F\xA0\xFF", "caf\xC3\xA9", "",
  };
  bool escaped = false;
  for (const char* plain : passwords) {
    String stored = scramblePassword(plain);
    EXPECT_LE(stored.length(), 2 * static_cast<int>(strlen(plain)));
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(stored.text()); *p; ++p)
      EXPECT_TRUE(*p >= 33 && *p != 127) << plain << " gives byte " << int(*p);
    escaped = escaped || strchr(stored.text(), '`') != nullptr;
    EXPECT_STREQ(plain, unscramblePassword(stored.text()).text());
  }
  EXPECT_TRUE(escaped) << "the samples include two-character forms";
  // Every single byte, on its own and after a prefix that moves the key.
  for (int c = 1; c < 256; ++c) {
    char plain[3] = {'k', static_cast<char>(c), '\0'};
    for (const char* text : {static_cast<const char*>(plain + 1), static_cast<const char*>(plain)})
      EXPECT_STREQ(text, unscramblePassword(scramblePassword(text).text()).text()) << c;
  }
  EXPECT_EQ(2, unscramblePassword("ab`").length()) << "a cut stored text does not read past";
}

class NevChatSetupTest : public ::testing::Test {
 protected:
  FakeHost host;
  SessionProbe session;
  NevChatSetupPage& settings = session.getSettings();
};

TEST_F(NevChatSetupTest, EmptySectionGivesTheDefaultsAndWritingReadsBack) {
  settings.readSetup();
  EXPECT_EQ(21, settings.inSize);
  EXPECT_EQ(21, settings.topicSize);
  EXPECT_EQ(110, settings.nicksSize);
  EXPECT_STREQ("...", settings.quitMessage.text());
  EXPECT_STREQ("", settings.login.text());
  const unsigned char flags[] = {
      settings.showTopic,     settings.showNicks,        settings.keepAlive,
      settings.sockDefault,   settings.displayEmoticons, settings.displayDoubleEmoticons,
      settings.withEmptyLine, settings.autoInfos,        settings.displayVReq};
  const unsigned char expected[] = {1, 1, 0, 0, 1, 1, 0, 0, 0};
  EXPECT_EQ(0, memcmp(expected, flags, 9));

  settings.login.assign("alice");
  settings.password.assign("p\xE9`x");
  settings.displayVReq = 1;
  settings.nicksSize = 90;
  session.writeSetup();
  EXPECT_NE("p\xE9`x", host.settings["NevChat Password"]) << "stored scrambled";
  EXPECT_STREQ("p\xE9`x", settings.password.text()) << "kept plain in memory";
  EXPECT_EQ("1", host.settings["NevChat Display VReq"]);

  SessionProbe other;
  other.getSettings().readSetup();
  EXPECT_STREQ("alice", other.getSettings().login.text());
  EXPECT_STREQ("p\xE9`x", other.getSettings().password.text());
  EXPECT_EQ(90, other.getSettings().nicksSize);
  EXPECT_EQ(1, other.getSettings().displayVReq);
}

TEST_F(NevChatSetupTest, PageNeverShowsThePasswordAndEmptyZonesKeepValues) {
  RootWindow* root = new RootWindow();
  initToolkit(nullptr, 101, root);
  HWND parent = CreateWindowExA(0, "Static", "setup", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
  settings.login.assign("alice");
  settings.password.assign("secret");
  session.createSetupWindow(parent);
  ASSERT_TRUE(settings.hasPage());
  session.onSetupOpen();
  char text[64] = {};
  EXPECT_GT(settings.loginZone.getText(text, sizeof text), 0);
  EXPECT_STREQ("alice", text);
  settings.passwordZone.getText(text, sizeof text);
  EXPECT_STREQ("", text);
  EXPECT_TRUE(settings.checks[0]->isChecked());

  settings.loginZone.setText("bob");
  settings.quitZone.setText("");
  settings.checks[8]->setChecked(true);
  session.onSetupClose();
  EXPECT_STREQ("bob", settings.login.text());
  EXPECT_STREQ("secret", settings.password.text()) << "empty password zone";
  EXPECT_STREQ("...", settings.quitMessage.text()) << "empty quit zone";
  EXPECT_EQ(1, settings.displayVReq);

  EXPECT_TRUE(settings.loginZone.onChar('\t'));
  EXPECT_EQ(settings.passwordZone.getHwnd(), GetFocus());
  EXPECT_TRUE(settings.quitZone.onEnter());
  EXPECT_EQ(settings.loginZone.getHwnd(), GetFocus());
  DestroyWindow(parent);
  delete root;
}

}  // namespace
