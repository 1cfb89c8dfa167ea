// Log files: the header, Win32-style names, reopening and files that cannot be opened.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "lib/FileLog.h"
#include "platform/tests/TempFolder.h"

namespace {

// Whether text is the header for name (date and time as MM/DD/YY and HH:MM:SS) followed by
// exactly body.
bool holds(const std::string& text, const std::string& name, const std::string& body) {
  const std::regex meta(R"([.\\^$|()\[\]{}*+?])");
  return std::regex_match(
      text, std::regex("Log File : " + std::regex_replace(name, meta, R"(\$&)") +
                       "\n"
                       "Created the (0[1-9]|1[0-2])/(0[1-9]|[12][0-9]|3[01])/[0-9]{2}, "
                       "at ([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]\n" +
                       std::string(61, '-') + "\n\n" + std::regex_replace(body, meta, R"(\$&)")));
}

TEST(FileLogTest, HeaderLinesAndReopening) {
  TempFolder tmp;
  const std::filesystem::path oldCwd = std::filesystem::current_path();
  std::filesystem::current_path(tmp.path());
  {
    FileLog log(".\\missing\\x.log", 256);  // cannot be opened: writes are dropped
    log.beginSection("lost\n");
    log.open(".\\Client.log");
    log.printf("kept\r\nopen");
    log.indent();
    log.printf("c\n");
    log.endSection("Done.\n");
    log.printf("pending");
    log.open(".\\second.log");
    // Complete while the log lives on: the old file was closed after its line was ended.
    EXPECT_TRUE(holds(tmp.read("Client.log"), ".\\Client.log",
                      "| -> kept\n| -> open\n|   -> c\n+> Done.\n-> pending\n"));
    log.printf("next");
  }
  EXPECT_TRUE(holds(tmp.read("second.log"), ".\\second.log", "-> next"));
  FileLog(".\\CLIENT.LOG", 256).printf("again\n");  // the same file, spelt otherwise, emptied
  EXPECT_TRUE(holds(tmp.read("Client.log"), ".\\CLIENT.LOG", "-> again\n"));
  EXPECT_FALSE(std::filesystem::exists(tmp.file("missing")) ||
               std::filesystem::exists(tmp.file("CLIENT.LOG")));
  std::filesystem::current_path(oldCwd);
}

// A log fed without end stops at its size limit with one closing line, and a reopened file
// logs again.
TEST(FileLogTest, StopsAtTheSizeLimitWithOneClosingLine) {
  TempFolder tmp;
  const std::filesystem::path oldCwd = std::filesystem::current_path();
  std::filesystem::current_path(tmp.path());
  const std::string closing = "Log size limit reached (16 MB): logging stopped.\n";
  const std::string line(999, 'x');
  {
    FileLog log(".\\flood.log", 4096);
    for (long sent = 0; sent < FileLog::kSizeLimit + 100000; sent += 1000) {
      log.printf("%s", line.c_str());  // an open line each time: continued, never ended
      log.printf("\n");
    }
  }
  std::string text = tmp.read("flood.log");
  EXPECT_LE(static_cast<long>(text.size()),
            FileLog::kSizeLimit + 1 + static_cast<long>(closing.size()));
  EXPECT_GT(static_cast<long>(text.size()), FileLog::kSizeLimit - 2000);
  ASSERT_GE(text.size(), closing.size());
  EXPECT_EQ(text.substr(text.size() - closing.size()), closing);
  EXPECT_EQ(text.find(closing), text.size() - closing.size());
  EXPECT_EQ(text[text.size() - closing.size() - 1], '\n');

  FileLog(".\\flood.log", 256).printf("again\n");
  EXPECT_TRUE(holds(tmp.read("flood.log"), ".\\flood.log", "-> again\n"));
  std::filesystem::current_path(oldCwd);
}

}  // namespace
