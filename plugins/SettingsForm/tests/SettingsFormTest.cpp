// The alert options in a settings store, and their round trip through the stand-in
// settings-form library loaded by name.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/testing.h"
#include "plugins/SettingsForm/AlertOptions.h"
#include "plugins/SettingsForm/SettingsFormBinding.h"

namespace {

class MapStore : public SettingsStore {
 public:
  std::map<std::string, std::string> values;
  bool getBool(const char* key, bool def) override {
    return values.count(key) ? values[key] == "1" : def;
  }
  int getInt(const char* key, int def) override {
    return values.count(key) ? std::stoi(values[key]) : def;
  }
  void getString(const char* key, char* buffer, int size, const char* def) override {
    snprintf(buffer, static_cast<size_t>(size), "%s", values.count(key) ? values[key].c_str() : def);
  }
  void writeBool(const char* key, bool value) override { values[key] = value ? "1" : "0"; }
  void writeInt(const char* key, int value) override { values[key] = std::to_string(value); }
  void writeString(const char* key, const char* value) override { values[key] = value; }
};

TEST(AlertOptionsTest, DefaultsKeysAndWordsRoundTripThroughTheStore) {
  AlertOptions options;
  EXPECT_FALSE(options.getBool("position"));  // exact names only
  EXPECT_EQ(options.getString("Nothing"), nullptr);
  MapStore store;
  store.values = {{"VawareWordOnly", "1"}, {"VawareOnWordFilename", "ding.wav"},
                  {"VawareWordCount", "2"}, {"VawareWord0", "Cat"}, {"VawareWord5", "stale"}};
  options.read(store);
  EXPECT_TRUE(options.getBool("WordOnly"));
  EXPECT_STREQ(options.getString("OnWordFilename"), "ding.wav");
  EXPECT_STREQ(options.getString("OnTellFilename"), "beep.wav");  // absent: kept
  ASSERT_EQ(options.words().size(), 2u);
  EXPECT_EQ(options.words()[0], "Cat");        // as stored, not lower-cased
  EXPECT_EQ(options.words()[1], "wordError");  // a missing word

  options.words() = {"dog"};
  options.write(store);
  EXPECT_EQ(store.values["VawareWordCount"], "1");
  EXPECT_EQ(store.values["VawareWord0"], "dog");
  EXPECT_EQ(store.values["VawareWord5"], "stale");  // higher keys stay
}

class SettingsFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library = LoadLibraryA(VAWARESETUP_LIBRARY);
    ASSERT_NE(library, nullptr);
    SettingsFormBinding::bindModule(library);
    parent = CreateWindowExA(0, "Static", "setup", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr,
                             nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent);
    SettingsFormBinding::bindModule(nullptr);
  }
  HMODULE library = nullptr;
  HWND parent = nullptr;
};

TEST_F(SettingsFormTest, PushedValuesComeBackWithTheWordsLowerCasedAndEmptiesSkipped) {
  HWND form = SettingsFormBinding::createForm(parent);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(GetParent(form), parent);
  AlertOptions pushed;
  pushed.row(0).number = 1;       // SoundOnly
  pushed.row(4).number = 0x10003;  // Position: only the low 16 bits travel
  pushed.setText(5, std::string(2000, 'x').c_str());
  pushed.setText(6, "ding.wav");
  pushed.words() = {"Cat", "", "Dog"};
  SettingsFormBinding::push(form, pushed);

  AlertOptions pulled;
  SettingsFormBinding::pull(form, pulled);
  EXPECT_TRUE(pulled.getBool("SoundOnly"));
  EXPECT_EQ(pulled.getInt("Position"), 3);
  EXPECT_EQ(std::string(pulled.getString("OnTellFilename")).size(), 1023u);
  EXPECT_STREQ(pulled.getString("OnWordFilename"), "ding.wav");
  ASSERT_EQ(pulled.words().size(), 2u);
  EXPECT_EQ(pulled.words()[0], "cat");
  EXPECT_EQ(pulled.words()[1], "dog");
}

TEST_F(SettingsFormTest, APersonsChangeInTheFormIsWhatThePullReads) {
  HWND form = SettingsFormBinding::createForm(parent);
  ASSERT_NE(form, nullptr);
  AlertOptions options;
  SettingsFormBinding::push(form, options);
  HWND noSound = GetDlgItem(form, 103);
  ASSERT_NE(noSound, nullptr);
  SendMessageA(noSound, BM_CLICK, 0, 0);
  HWND words = GetDlgItem(form, 113);
  SetWindowTextA(words, "Alpha\r\n  \r\nbeta ");
  SendMessageA(form, WM_COMMAND, MAKEWPARAM(113, EN_CHANGE), reinterpret_cast<LPARAM>(words));
  SettingsFormBinding::pull(form, options);
  EXPECT_TRUE(options.getBool("NoSound"));
  ASSERT_EQ(options.words().size(), 2u);
  EXPECT_EQ(options.words()[0], "alpha");
  EXPECT_EQ(options.words()[1], "beta");

  // The parent takes the form with it; the session's values stay as they are.
  DestroyWindow(parent);
  parent = nullptr;
  options.row(2).number = 0;
  SettingsFormBinding::push(form, options);
  SettingsFormBinding::pull(form, options);
  EXPECT_FALSE(options.getBool("NoSound"));
}

// Two pages open at once (two clients', or a client's and the tray's): whatever the order of
// opening, editing and closing, each takes back only its own values.
TEST_F(SettingsFormTest, EachOfTwoOpenFormsKeepsItsOwnValuesInEitherClosingOrder) {
  HWND otherParent = CreateWindowExA(0, "Static", "setup", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400,
                                     nullptr, nullptr, nullptr, nullptr);
  for (bool firstClosesFirst : {true, false}) {
    HWND alphaForm = SettingsFormBinding::createForm(parent);
    HWND betaForm = SettingsFormBinding::createForm(otherParent);
    ASSERT_TRUE(alphaForm && betaForm && alphaForm != betaForm);
    AlertOptions alpha, beta;
    alpha.words() = {"alphaword"};
    alpha.setText(5, "alpha.wav");
    beta.words() = {"betaword"};
    beta.row(3).number = 1;  // WordOnly
    SettingsFormBinding::push(alphaForm, alpha);
    SettingsFormBinding::push(betaForm, beta);
    // A person ticks "No sound" on alpha's page, which shows alpha's words.
    char shown[64] = {};
    GetDlgItemTextA(alphaForm, 113, shown, sizeof shown);
    EXPECT_STREQ(shown, "alphaword");
    SendMessageA(GetDlgItem(alphaForm, 103), BM_CLICK, 0, 0);

    AlertOptions pulledAlpha, pulledBeta;
    if (firstClosesFirst) SettingsFormBinding::pull(alphaForm, pulledAlpha);
    SettingsFormBinding::pull(betaForm, pulledBeta);
    if (!firstClosesFirst) SettingsFormBinding::pull(alphaForm, pulledAlpha);
    EXPECT_EQ(pulledAlpha.words(), std::vector<std::string>{"alphaword"});
    EXPECT_STREQ(pulledAlpha.getString("OnTellFilename"), "alpha.wav");
    EXPECT_TRUE(pulledAlpha.getBool("NoSound"));
    EXPECT_FALSE(pulledAlpha.getBool("WordOnly"));
    EXPECT_EQ(pulledBeta.words(), std::vector<std::string>{"betaword"});
    EXPECT_STREQ(pulledBeta.getString("OnTellFilename"), "beep.wav");
    EXPECT_FALSE(pulledBeta.getBool("NoSound"));
    EXPECT_TRUE(pulledBeta.getBool("WordOnly"));
  }
  DestroyWindow(otherParent);
}

TEST(SettingsFormMissingTest, WithoutTheLibraryNoFormIsMadeAndTheValuesStay) {
  SettingsFormBinding::bindModule(nullptr);
  HWND parent = CreateWindowExA(0, "Static", "setup", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(SettingsFormBinding::createForm(parent), nullptr);
  DestroyWindow(parent);
  AlertOptions options;
  options.words() = {"kept"};
  SettingsFormBinding::push(nullptr, options);
  SettingsFormBinding::pull(nullptr, options);
  EXPECT_EQ(options.words(), std::vector<std::string>{"kept"});
}

}  // namespace
