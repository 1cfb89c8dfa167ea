#include <gtest/gtest.h>

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

class NevChatSetupTest : public ProbeTest {
 protected:
  NevChatSetupPage& settings = session.getSettings();
};

// The nine flags in the order of the page's check boxes.
std::vector<unsigned char*> flagsOf(NevChatSetupPage& s) {
  return {&s.showTopic,     &s.showNicks,        &s.keepAlive,
          &s.sockDefault,   &s.displayEmoticons, &s.displayDoubleEmoticons,
          &s.withEmptyLine, &s.autoInfos,        &s.displayVReq};
}

TEST_F(NevChatSetupTest, WrittenSettingsReadBackWithThePasswordScrambled) {
  settings.login.assign("alice");
  settings.password.assign("p\xE9`x");
  settings.nicksSize = 90;
  for (unsigned char* flag : flagsOf(settings)) *flag = !*flag;  // each under its own key
  session.writeSetup();
  EXPECT_NE("p\xE9`x", host.settings["NevChat Password"]) << "stored scrambled";
  EXPECT_STREQ("p\xE9`x", settings.password.text()) << "kept plain in memory";

  SessionProbe other;
  NevChatSetupPage& read = other.getSettings();
  read.readSetup();
  EXPECT_STREQ("alice", read.login.text());
  EXPECT_STREQ("p\xE9`x", read.password.text());
  EXPECT_EQ(90, read.nicksSize);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(*flagsOf(settings)[i], *flagsOf(read)[i]) << i;
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
  ShowWindow(parent, SW_SHOW);  // the zones below pass the focus on
  session.onSetupOpen();
  char text[64] = {};
  settings.loginZone.getText(text, sizeof text);
  EXPECT_STREQ("alice", text);
  settings.passwordZone.getText(text, sizeof text);
  EXPECT_STREQ("", text);

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
