// IniFile's typed settings against real files: booleans, integers, floats in any locale,
// section switching and clearing, and threads sharing one settings file.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <clocale>
#include <string>
#include <thread>
#include <vector>

#include "lib/IniFile.h"
#include "platform/tests/TempFolder.h"

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ini_.setSection("S"); }
  // The stored text of a key, as another reader of the file sees it.
  std::string stored(const char* key) const {
    char buf[512];
    DWORD n = GetPrivateProfileStringA("S", key, "", buf, sizeof buf, file_.c_str());
    return std::string(buf, n);
  }
  TempFolder tmp_;
  std::string file_ = tmp_.file("Settings.ini");
  IniFile ini_{file_.c_str()};
};

TEST_F(IniFileTest, BooleansAcceptOnTrueYesInAnyCaseAndOnlyFiveCharacters) {
  struct Case {
    const char* text;
    bool expected;
  };
  const Case cases[] = {{"yes", true},  {"TRUE", true},    {"oN", true},    {"1", false},
                        {"Off", false}, {"Onward", false}, {"TrueX", false}};
  for (const Case& c : cases) {
    ASSERT_TRUE(ini_.writeString("flag", c.text));
    EXPECT_EQ(c.expected, ini_.getBool("flag", !c.expected)) << '"' << c.text << '"';
  }
  EXPECT_TRUE(ini_.getBool("missing", true) && !ini_.getBool("missing", false));
  ASSERT_TRUE(ini_.writeBool("off", false) && ini_.writeBool("on", true));
  EXPECT_EQ("Off On", stored("off") + " " + stored("on"));
}

TEST_F(IniFileTest, IntegersRoundTripAsSignedDecimal) {
  for (int v : {INT_MAX, INT_MIN}) {
    ASSERT_TRUE(ini_.writeInt("n", v));
    EXPECT_EQ(std::to_string(v), stored("n"));
    EXPECT_EQ(v, ini_.getInt("n", 7));
  }
  EXPECT_EQ(-3, ini_.getInt("missing", -3));
}

TEST_F(IniFileTest, FloatsFollowTheirStoredText) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"2.5", 2.5}, {"  -0.125", -0.125}, {"3.75xyz", 3.75}, {"abc", 0.0}, {"", 9.5}};
  for (const Case& c : cases) {
    ASSERT_TRUE(ini_.writeString("f", c.text));
    EXPECT_DOUBLE_EQ(c.expected, ini_.getFloat("f", 9.5)) << '"' << c.text << '"';
  }
  ASSERT_TRUE(ini_.writeFloat("w", 1.5) && ini_.writeFloat("big", -1e300));  // 301 digits
  EXPECT_EQ("1.500000", stored("w"));
  EXPECT_EQ(-1e300, ini_.getFloat("big", 0.0));
}

TEST_F(IniFileTest, FloatsUseAPointUnderACommaLocale) {
  std::string previous = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
    GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  ini_.writeFloat("w", 1.5);
  std::string text = stored("w");
  ini_.writeString("c", "1,5");
  double point = ini_.getFloat("w", 0.0), comma = ini_.getFloat("c", 0.0);
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ("1.500000", text);
  EXPECT_DOUBLE_EQ(1.5, point);
  EXPECT_DOUBLE_EQ(1.0, comma);  // a comma ends the number, as it does everywhere else
}

TEST_F(IniFileTest, SectionsSwitchAndClearSectionRemovesOnlyItsKeys) {
  ini_.writeInt("a", 1);
  ini_.setSection("Drop");
  EXPECT_EQ(9, ini_.getInt("a", 9));
  ini_.writeInt("a", 2);
  EXPECT_TRUE(ini_.clearSection());
  EXPECT_EQ(5, ini_.getInt("a", 5));
  EXPECT_EQ("1", stored("a"));
}

// Every call keeps its text in buffers of its own, so threads never see each other's values.
TEST_F(IniFileTest, ThreadsReadAndWriteFloatsAtOnce) {
  std::vector<std::thread> workers;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 6; ++t)
    workers.emplace_back([this, t, &wrong] {
      IniFile ini(file_.c_str());
      ini.setSection("T");
      std::string key = std::to_string(t);
      for (double value = t * 1000; value < t * 1000 + 50; value += 1.25) {
        ini.writeFloat(key.c_str(), value);
        wrong += ini.getFloat(key.c_str(), -1.0) != value;
      }
    });
  for (std::thread& w : workers) w.join();
  EXPECT_EQ(0, wrong);
}

}  // namespace
