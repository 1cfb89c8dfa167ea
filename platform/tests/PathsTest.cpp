// Win32-style paths reach the files that exist here; text reads drop the CR of CR LF.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win32.h"

namespace {

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vornpathsXXXXXX";
    dir_ = mkdtemp(tmpl);
    ASSERT_EQ(0, mkdir((dir_ + "/Events").c_str(), 0755));
    write(dir_ + "/Events/NevChat.txt", "a\r\nb\rc\r\n");
  }
  void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }

  static void write(const std::string& path, const char* text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fputs(text, f);
    std::fclose(f);
  }
  static std::string readAll(FILE* f) {
    std::string s;
    int c;
    while ((c = std::fgetc(f)) != EOF) s += static_cast<char>(c);
    std::fclose(f);
    return s;
  }
  std::string dir_;
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
  ASSERT_TRUE(f);
  EXPECT_EQ("a\r\nb\rc\r\n", readAll(f));
}

TEST_F(PathsTest, TextReadsDropOnlyTheCrOfCrLf) {
  FILE* f = fopenPath((dir_ + "/Events/NevChat.txt").c_str(), "r");
  ASSERT_TRUE(f);
  EXPECT_EQ("a\nb\rc\n", readAll(f));

  char line[16];
  f = fopenPath((dir_ + "/Events/NevChat.txt").c_str(), "rt");
  ASSERT_TRUE(f);
  ASSERT_TRUE(std::fgets(line, sizeof line, f));
  EXPECT_STREQ("a\n", line);
  std::fclose(f);
}

TEST_F(PathsTest, MissingFileFailsToOpen) {
  EXPECT_EQ(nullptr, fopenPath((dir_ + "/nothing/here.txt").c_str(), "r"));
  EXPECT_EQ(nullptr, fopenPath(nullptr, "r"));
}

}  // namespace
