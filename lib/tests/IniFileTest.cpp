// IniFile's typed settings against real files: booleans, integers, floats in any locale,
// section switching and clearing, and threads sharing one settings file.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "lib/IniFile.h"

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vorninifileXXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    dir_ = tmpl;
    file_ = dir_ + "/Settings.ini";
  }
  void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }

  // The stored text of a key, as another reader of the file sees it.
  std::string stored(const char* section, const char* key) const {
    char buf[512];
    DWORD n = GetPrivateProfileStringA(section, key, "<none>", buf, sizeof buf, file_.c_str());
    return std::string(buf, n);
  }
  std::string dir_, file_;
};

TEST_F(IniFileTest, BooleansAcceptOnTrueYesInAnyCaseAndOnlyFiveCharacters) {
  IniFile ini(file_.c_str());
  ini.setSection("B");
  struct Case { const char* text; bool expected; };
  const Case cases[] = {{"yes", true},    {"TRUE", true},      {"on", true},   {"On", true},
                        {" Yes ", true},  {"\"true\"", true},  {"1", false},   {"Enabled", false},
                        {"Onward", false}, {"Off", false},     {"", false},    {"no", false},
                        {"TrueX", false}};
  for (const Case& c : cases) {
    ASSERT_TRUE(ini.writeString("flag", c.text));
    EXPECT_EQ(c.expected, ini.getBool("flag", !c.expected)) << '"' << c.text << '"';
  }
  EXPECT_TRUE(ini.getBool("missing", true));
  EXPECT_FALSE(ini.getBool("missing", false));
  EXPECT_TRUE(ini.writeBool("w", false));
  EXPECT_EQ("Off", stored("B", "w"));
  EXPECT_TRUE(ini.writeBool("w", true));
  EXPECT_EQ("On", stored("B", "w"));
}

TEST_F(IniFileTest, IntegersRoundTripAsSignedDecimal) {
  IniFile ini(file_.c_str());
  ini.setSection("I");
  const int values[] = {0, 42, -1, -250, INT_MAX, INT_MIN};
  for (int v : values) {
    ASSERT_TRUE(ini.writeInt("n", v));
    EXPECT_EQ(std::to_string(v), stored("I", "n"));
    EXPECT_EQ(v, ini.getInt("n", 7));
  }
  EXPECT_EQ(7, ini.getInt("missing", 7));
  EXPECT_EQ(-3, ini.getInt("missing", -3));
}

TEST_F(IniFileTest, FloatsFollowTheirStoredText) {
  IniFile ini(file_.c_str());
  ini.setSection("F");
  struct Case { const char* text; double expected; };
  const Case cases[] = {{"2.5", 2.5},   {"  -0.125", -0.125}, {"3.75xyz", 3.75}, {"1e3", 1000.0},
                        {"abc", 0.0},   {"", 9.5},            {"\"4.5\"", 4.5},  {".5", 0.5}};
  for (const Case& c : cases) {
    ASSERT_TRUE(ini.writeString("f", c.text));
    EXPECT_DOUBLE_EQ(c.expected, ini.getFloat("f", 9.5)) << '"' << c.text << '"';
  }
  EXPECT_DOUBLE_EQ(-1.25, ini.getFloat("missing", -1.25));
  EXPECT_TRUE(ini.writeFloat("w", 1.5));
  EXPECT_EQ("1.500000", stored("F", "w"));
  EXPECT_TRUE(ini.writeFloat("w", -1e300));
  EXPECT_EQ(-1e300, ini.getFloat("w", 0.0));
}

TEST_F(IniFileTest, FloatsUseAPointUnderACommaLocale) {
  std::string previous = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
    GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  IniFile ini(file_.c_str());
  ini.setSection("F");
  BOOL wrote = ini.writeFloat("w", 1.5);
  std::string text = stored("F", "w");
  ini.writeString("p", "2.25");
  double point = ini.getFloat("p", 0.0);
  ini.writeString("c", "1,5");
  double comma = ini.getFloat("c", 0.0);
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_TRUE(wrote);
  EXPECT_EQ("1.500000", text);
  EXPECT_DOUBLE_EQ(2.25, point);
  EXPECT_DOUBLE_EQ(1.0, comma);  // a comma ends the number, as it does everywhere else
}

TEST_F(IniFileTest, SectionsSwitchAndClearSectionRemovesOnlyItsKeys) {
  IniFile ini(file_.c_str());
  ini.setSection("Keep");
  ini.writeInt("a", 1);
  ini.setSection("Drop");
  EXPECT_EQ(9, ini.getInt("a", 9));
  ini.writeInt("a", 2);
  ini.writeBool("b", true);
  EXPECT_TRUE(ini.clearSection());
  EXPECT_EQ(5, ini.getInt("a", 5));
  EXPECT_TRUE(ini.getBool("b", true) && !ini.getBool("b", false));
  EXPECT_EQ("1", stored("Keep", "a"));
}

TEST_F(IniFileTest, ThreadsReadAndWriteFloatsAtOnce) {
  const int threads = 6, rounds = 40;
  std::vector<std::thread> workers;
  std::vector<int> wrong(threads, 0);
  for (int t = 0; t < threads; ++t)
    workers.emplace_back([this, t, &wrong] {
      IniFile ini(file_.c_str());
      ini.setSection("T");
      std::string key = "f" + std::to_string(t);
      for (int r = 0; r < rounds; ++r) {
        double value = t * 1000 + r + 0.25;
        ini.writeFloat(key.c_str(), value);
        if (ini.getFloat(key.c_str(), -1.0) != value) ++wrong[t];
      }
    });
  for (std::thread& w : workers) w.join();
  for (int t = 0; t < threads; ++t) EXPECT_EQ(0, wrong[t]) << "thread " << t;
}

}  // namespace
