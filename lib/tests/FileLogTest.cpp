// Log files: the header, what follows it, Win32-style names, reopening and unopenable files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "lib/FileLog.h"

namespace {

namespace fs = std::filesystem;

class FileLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "vornlogXXXXXX").string();
    ASSERT_TRUE(mkdtemp(&tmpl[0]));
    dir_ = tmpl;
    oldCwd_ = fs::current_path();
  }
  void TearDown() override {
    fs::current_path(oldCwd_);
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  std::string path(const char* name) const { return (dir_ / name).string(); }

  static std::string readAll(const std::string& file) {
    std::string s;
    if (FILE* f = std::fopen(file.c_str(), "rb")) {
      int c;
      while ((c = std::fgetc(f)) != EOF) s += static_cast<char>(c);
      std::fclose(f);
    }
    return s;
  }

  // The header for a given name, with the date and time as patterns.
  static std::string headerPattern(const std::string& name) {
    return "Log File : " + std::regex_replace(name, std::regex(R"([.\\^$|()\[\]{}*+?])"), R"(\$&)") +
           "\n"
           "Created the (0[1-9]|1[0-2])/(0[1-9]|[12][0-9]|3[01])/[0-9]{2}, "
           "at ([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]\n" +
           std::string(61, '-') + "\n\n";
  }

  fs::path dir_;
  fs::path oldCwd_;
};

TEST_F(FileLogTest, HeaderThenNestedLines) {
  const std::string name = path("Client.log");
  {
    FileLog log(name.c_str(), 1024);
    log.beginSection("Init step:\n");
    log.printf("a\r\nb");
    log.indent();
    log.printf("c\n");
    log.endSection("Done.\n");
  }
  std::smatch m;
  const std::string text = readAll(name);
  ASSERT_TRUE(std::regex_match(text, m, std::regex(headerPattern(name) + "([^]*)"))) << text;
  EXPECT_EQ("+> Init step:\n| -> a\n| -> b\n|   -> c\n+> Done.\n", m[m.size() - 1].str());
}

TEST_F(FileLogTest, WindowsStyleNameIsCreatedInTheCurrentFolderAndEmptiedWhenReopened) {
  fs::current_path(dir_);
  {
    FileLog log(".\\Client.log", 256);
    log.printf("first run\n");
  }
  {
    FileLog log(".\\CLIENT.LOG", 256);  // another spelling of the same file
    log.printf("second run\n");
  }
  ASSERT_TRUE(fs::exists(dir_ / "Client.log"));
  EXPECT_FALSE(fs::exists(dir_ / "CLIENT.LOG"));
  const std::string text = readAll(path("Client.log"));
  EXPECT_TRUE(std::regex_match(text, std::regex(headerPattern(".\\CLIENT.LOG") + "-> second run\n")))
      << text;
}

TEST_F(FileLogTest, OpenClosesTheOldFileWithItsOpenLine) {
  const std::string first = path("first.log");
  const std::string second = path("second.log");
  FileLog log(first.c_str(), 256);
  log.printf("pending");
  log.open(second.c_str());
  // The first file is complete while the log lives on: it was closed, its line ended.
  EXPECT_TRUE(std::regex_match(readAll(first), std::regex(headerPattern(first) + "-> pending\n")));
  log.printf("next\n");
  log.open(second.c_str());  // reopening the same file empties it
  log.printf("last\n");
  log.open(nullptr);
  EXPECT_TRUE(std::regex_match(readAll(second), std::regex(headerPattern(second) + "-> last\n")))
      << readAll(second);
}

TEST_F(FileLogTest, UnopenableFileDropsWritesUntilAGoodOpen) {
  const std::string bad = path("missing/x.log");
  const std::string good = path("good.log");
  FileLog log(bad.c_str(), 256);
  log.beginSection("lost\n");
  log.printf("lost too");
  EXPECT_FALSE(fs::exists(bad));
  log.open(good.c_str());
  log.printf("kept\n");
  log.endSection("end\n");
  log.open(nullptr);
  EXPECT_TRUE(std::regex_match(readAll(good), std::regex(headerPattern(good) + "\\| -> kept\n\\+> end\n")))
      << readAll(good);
}

}  // namespace
