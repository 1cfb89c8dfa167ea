// The host's start and end: the operating-system line from the version records the system
// gives, the program folder cut from the program's path, and a whole start-up and shut-down,
// twice in one process, leaving every global empty and the settings written.
#include "host/Host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "host/ClientList.h"
#include "host/HostPlatformCalls.h"
#include "host/PlugsManagers.h"
#include "host/SystemPluginsSession.h"
#include "host/SystemSettings.h"
#include "host/SystemWindow.h"
#include "lib/RootWindow.h"
#include "platform/tests/TempFolder.h"

namespace {

// What the fake system answers: a record for each structure it accepts.
struct FakeSystem {
  bool extendedAccepted = true;
  bool plainAccepted = true;
  OsVersionRecord record = {};
  std::vector<std::string> asked;
};
FakeSystem fake;

bool fakeQuery(bool extended, OsVersionRecord* record) {
  fake.asked.push_back(extended ? "extended" : "plain");
  if (!(extended ? fake.extendedAccepted : fake.plainAccepted)) return false;
  *record = fake.record;
  return true;
}

OsVersionRecord version(unsigned platform, unsigned major, unsigned minor, unsigned build,
                        const char* pack) {
  OsVersionRecord record = {};
  record.platform = platform;
  record.major = major;
  record.minor = minor;
  record.build = build;
  std::snprintf(record.servicePack, sizeof record.servicePack, "%s", pack);
  return record;
}

TEST(OsVersionTest, FamilyNameAndLineFollowThePlatformAndVersion) {
  struct Case {
    OsVersionRecord record;
    int code;
    const char* line;
  };
  const Case cases[] = {
      {version(1, 3, 95, 950, ""), 1, "Win95  - Version 3.95  (Build 950)\n"},
      {version(1, 4, 0, 950, "B"), 1, "Win95  - Version 4.0 B (Build 950)\n"},
      {version(1, 4, 10, 67766446, " A "), 2, "Win98  - Version 4.10  A  (Build 67766446)\n"},
      {version(2, 4, 0, 1381, "Service Pack 6"), 3,
       "WinNT  - Version 4.0 Service Pack 6 (Build 1381)\n"},
      {version(2, 5, 1, 2600, "Service Pack 2"), 4,
       "Win2K  - Version 5.1 Service Pack 2 (Build 2600)\n"},
      {version(2, 6, 1, 7601, ""), 0, " - Version 6.1  (Build 7601)\n"},
      {version(0, 5, 0, 1, "x"), 0, " - Version 5.0 x (Build 1)\n"},
  };
  for (const Case& test : cases) {
    fake = FakeSystem();
    fake.record = test.record;
    char line[512];
    EXPECT_EQ(test.code, formatOsVersionString(line, fakeQuery));
    EXPECT_STREQ(test.line, line);
    EXPECT_EQ(std::vector<std::string>{"extended"}, fake.asked);
    EXPECT_EQ(test.code, formatOsVersionString(nullptr, fakeQuery)) << "no buffer, same code";
  }
}

TEST(OsVersionTest, RefusedExtendedRecordFallsBackToThePlainOneAndSaysSo) {
  fake = FakeSystem();
  fake.record = version(2, 5, 0, 2195, "");
  fake.extendedAccepted = false;
  char line[512];
  EXPECT_EQ(4, formatOsVersionString(line, fakeQuery));
  EXPECT_STREQ("Using Old OSVERSIONINFO structure\nWin2K  - Version 5.0  (Build 2195)\n", line);
  EXPECT_EQ((std::vector<std::string>{"extended", "plain"}), fake.asked);

  fake.plainAccepted = false;
  fake.asked.clear();
  std::memset(line, 'x', sizeof line);
  EXPECT_EQ(0, formatOsVersionString(line, fakeQuery));
  EXPECT_STREQ("Using Old OSVERSIONINFO structure\n", line);
  EXPECT_EQ(0, formatOsVersionString(nullptr, fakeQuery));
}

TEST(OsVersionTest, LongServicePackTextStaysInsideTheLine) {
  fake = FakeSystem();
  fake.record = version(2, 5, 1, 1, "");
  std::memset(fake.record.servicePack, 'p', sizeof fake.record.servicePack);  // no NUL
  fake.extendedAccepted = false;
  char line[600];
  std::memset(line, 'x', sizeof line);
  formatOsVersionString(line, fakeQuery);
  EXPECT_LT(std::strlen(line), 512u);
  EXPECT_EQ(std::string(127, 'p'), std::string(line).substr(std::string(line).find('p'), 127));
}

TEST(ProgramFolderTest, PathIsCutAtItsLastSeparatorOfEitherKind) {
  struct Case {
    const char* path;
    bool cut;
    const char* folder;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Vornith\\Vornith.exe", true, "C:\\Program Files\\Vornith"},
      {"/home/ann/vornith/build/run/vornith", true, "/home/ann/vornith/build/run"},
      {"run/sub\\vornith", true, "run/sub"},
      {"run\\sub/vornith", true, "run\\sub"},
      {"/vornith", true, ""},
      {"vornith", false, "vornith"},
      {"", false, ""},
  };
  for (const Case& test : cases) {
    std::string path = test.path;
    EXPECT_EQ(test.cut, cutToFolder(&path[0])) << test.path;
    EXPECT_STREQ(test.folder, path.c_str()) << test.path;
  }
}

bool globalsEmpty() {
  return systemSettings == nullptr && rootWindow == nullptr && systemWindow == nullptr &&
         sdkFunctions == nullptr && plugsManagers == nullptr && systemPluginsSession == nullptr &&
         clientList == nullptr;
}

// A whole host in a folder of its own; the working folder is given back afterwards.
class HostStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.path().empty());
    previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    std::filesystem::create_directories(folder.file("Plugins"));
  }
  void TearDown() override {
    // A closing system window asks the loop to end; no later loop of this process may see it.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    std::filesystem::current_path(previous);
  }

  TempFolder folder;
  std::filesystem::path previous;
};

TEST_F(HostStartTest, StartsAndStopsTwiceLeavingNothingBehindButItsSettings) {
  ASSERT_TRUE(folder.write("Vornith.ini", "[System]\nSizeX=640\n[alpha]\nAutoconnect=Off\n"));
  shutDown();  // nothing started: nothing to do
  EXPECT_TRUE(globalsEmpty());
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(globalsEmpty());
    HINSTANCE instance = GetModuleHandleA(nullptr);
    startUp(instance);
    ASSERT_NE(nullptr, systemSettings);
    EXPECT_NE(nullptr, rootWindow);
    ASSERT_NE(nullptr, systemWindow);
    ASSERT_NE(nullptr, sdkFunctions);
    EXPECT_NE(nullptr, plugsManagers);
    EXPECT_NE(nullptr, systemPluginsSession);
    EXPECT_NE(nullptr, clientList);
    EXPECT_EQ(round == 0 ? 640 : 700, systemSettings->windowWidth) << "what the last run wrote";
    EXPECT_EQ(sizeof(SdkFunctions), sdkFunctions->size);
    EXPECT_EQ(instance, sdkFunctions->instance);
    EXPECT_EQ(systemWindow->getHwnd(), sdkFunctions->systemWindow);
    EXPECT_NE(nullptr, sdkFunctions->writeSystemFloat);
    EXPECT_EQ(getRootWindow(), rootWindow);
    // The second round ends as after a close: the window is gone before the shut-down.
    if (round == 1) DestroyWindow(systemWindow->getHwnd());
    systemSettings->windowWidth = 700 + round;
    shutDown();
    EXPECT_TRUE(globalsEmpty());
    std::string ini = folder.read("Vornith.ini");
    EXPECT_NE(std::string::npos, ini.find("SizeX=" + std::to_string(700 + round))) << ini;
    EXPECT_NE(std::string::npos, ini.find("System Tabs Style=0")) << ini;
    EXPECT_NE(std::string::npos, ini.find("[alpha]")) << ini;
  }
}

}  // namespace
