// Log files: the header, Win32-style names, reopening and files that cannot be opened.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "lib/FileLog.h"

namespace {

namespace fs = std::filesystem;

// Whether the file holds the header for name (date and time as MM/DD/YY and HH:MM:SS)
// followed by exactly body.
bool holds(const fs::path& file, const std::string& name, const std::string& body) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::regex meta(R"([.\\^$|()\[\]{}*+?])");
  return std::regex_match(text.str(), std::regex(
      "Log File : " + std::regex_replace(name, meta, R"(\$&)") + "\n"
      "Created the (0[1-9]|1[0-2])/(0[1-9]|[12][0-9]|3[01])/[0-9]{2}, "
      "at ([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]\n" + std::string(61, '-') + "\n\n" +
      std::regex_replace(body, meta, R"(\$&)")));
}

TEST(FileLogTest, HeaderLinesAndReopening) {
  std::string tmpl = (fs::temp_directory_path() / "vornlogXXXXXX").string();
  ASSERT_TRUE(mkdtemp(&tmpl[0]));
  const fs::path dir = tmpl, oldCwd = fs::current_path();
  fs::current_path(dir);
  {
    FileLog log(".\\missing\\x.log", 256);  // cannot be opened: writes are dropped
    log.beginSection("lost\n");
    log.printf("lost too");
    log.open(".\\Client.log");
    log.printf("kept\r\nopen");
    log.indent();
    log.printf("c\n");
    log.endSection("Done.\n");
    log.printf("pending");
    log.open(".\\second.log");
    // Complete while the log lives on: the old file was closed after its line was ended.
    EXPECT_TRUE(holds(dir / "Client.log", ".\\Client.log",
                      "| -> kept\n| -> open\n|   -> c\n+> Done.\n-> pending\n"));
    log.printf("next");
  }
  EXPECT_TRUE(holds(dir / "second.log", ".\\second.log", "-> next"));
  FileLog(".\\CLIENT.LOG", 256).printf("again\n");  // the same file, spelt otherwise, emptied
  EXPECT_TRUE(holds(dir / "Client.log", ".\\CLIENT.LOG", "-> again\n"));
  EXPECT_FALSE(fs::exists(dir / "missing") || fs::exists(dir / "CLIENT.LOG"));
  fs::current_path(oldCwd);
  fs::remove_all(dir);
}

}  // namespace
