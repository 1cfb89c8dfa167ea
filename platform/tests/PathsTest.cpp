// Win32-style paths reach the files that exist here; text reads drop the CR of CR LF.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/tests/TempFolder.h"
#include "platform/win32.h"

namespace {

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(0, mkdir(folder_.file("Events").c_str(), 0755));
    ASSERT_TRUE(folder_.write("Events/NevChat.txt", "a\r\nb\rc\r\n"));
  }
  static std::string readAll(FILE* f) {
    if (!f) return "(not opened)";
    std::string s;
    for (int c; (c = std::fgetc(f)) != EOF;) s += static_cast<char>(c);
    std::fclose(f);
    return s;
  }
  TempFolder folder_;
  const std::string dir_ = folder_.path();
};

TEST_F(PathsTest, BackslashesAndCaseFindExistingFiles) {
  EXPECT_EQ(dir_ + "/Events/NevChat.txt", resolvePath((dir_ + "\\events\\NEVCHAT.TXT").c_str()));
  // A name that does not exist yet keeps its spelling, inside the folder that does.
  EXPECT_EQ(dir_ + "/Events/New.log", resolvePath((dir_ + "\\EVENTS\\New.log").c_str()));
  EXPECT_EQ("", resolvePath(nullptr));
}

TEST_F(PathsTest, DotBackslashIsRelativeToTheCurrentFolder) {
  char old[4096];
  ASSERT_TRUE(getcwd(old, sizeof old));
  ASSERT_EQ(0, chdir(dir_.c_str()));
  FILE* f = fopenPath(".\\events\\nevchat.txt", "rb");
  ASSERT_EQ(0, chdir(old));
  EXPECT_EQ("a\r\nb\rc\r\n", readAll(f));  // binary reads keep every byte
}

TEST_F(PathsTest, TextReadsDropOnlyTheCrOfCrLf) {
  const std::string file = dir_ + "/Events/NevChat.txt";
  for (const char* mode : {"r", "rt"})
    EXPECT_EQ("a\nb\rc\n", readAll(fopenPath(file.c_str(), mode))) << mode;
  EXPECT_EQ(nullptr, fopenPath((dir_ + "/nothing/here.txt").c_str(), "r"));
  EXPECT_EQ(nullptr, fopenPath(nullptr, "r"));
  // The first CR ends any block of a power of two up to 64 KB; the lines after it put CRs at
  // other boundaries.
  std::string crLf(65535, 'x'), lf(65535, 'x');
  crLf += "\r\n";
  lf += "\n";
  for (int i = 0; i < 3000; ++i) {
    std::string line(static_cast<size_t>(i % 37), 'x');
    crLf += line + (i % 5 ? "\r\n" : "\r");
    lf += line + (i % 5 ? "\n" : "\r");
  }
  ASSERT_TRUE(folder_.write("long.txt", crLf + "\r"));
  EXPECT_EQ(lf + "\r", readAll(fopenPath((dir_ + "/long.txt").c_str(), "r")));
}

}  // namespace
