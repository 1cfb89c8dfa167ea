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

}  // namespace
