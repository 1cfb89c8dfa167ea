// The host's start and end: the operating-system line from the version records the system
// gives, the program folder cut from the program's path, the settings file, and a whole
// start-up and shut-down, twice in one process, leaving every global empty.
#include "host/Host.h"

#include <cstring>

#include "host/ClientList.h"
#include "host/HostPlatformCalls.h"
#include "host/PlugsManagers.h"
#include "host/SystemPluginsSession.h"
#include "host/SystemSettings.h"
#include "host/SystemWindow.h"
#include "host/tests/ConsolePane.h"
#include "platform/testing.h"

namespace {

// What the fake system answers: a record for each structure it accepts.
struct FakeSystem {
  bool extendedAccepted = true;
  bool plainAccepted = true;
  OsVersionRecord record = {};
  std::vector<std::string> asked;
} fake;

bool fakeQuery(bool extended, OsVersionRecord* record) {
  fake.asked.push_back(extended ? "extended" : "plain");
  if (!(extended ? fake.extendedAccepted : fake.plainAccepted)) return false;
  *record = fake.record;
  return true;
}

OsVersionRecord version(unsigned platform, unsigned major, unsigned minor, const char* pack) {
  OsVersionRecord record = {};
  record.platform = platform;
  record.major = major;
  record.minor = minor;
  record.build = 950;
  std::snprintf(record.servicePack, sizeof record.servicePack, "%s", pack);
  return record;
}

TEST(OsVersionTest, FamilyNameAndLineFollowThePlatformAndVersion) {
  const struct {
    OsVersionRecord record;
    int code;
    const char* line;
  } cases[] = {
      {version(1, 4, 0, "B"), 1, "Win95  - Version 4.0 B (Build 950)\n"},
      {version(1, 4, 10, " A "), 2, "Win98  - Version 4.10  A  (Build 950)\n"},
      {version(2, 4, 0, "SP6"), 3, "WinNT  - Version 4.0 SP6 (Build 950)\n"},
      {version(2, 5, 1, ""), 4, "Win2K  - Version 5.1  (Build 950)\n"},
      {version(2, 6, 1, ""), 0, " - Version 6.1  (Build 950)\n"},
      {version(0, 5, 0, "x"), 0, " - Version 5.0 x (Build 950)\n"},
  };
  for (const auto& c : cases) {
    fake = FakeSystem();
    fake.record = c.record;
    char line[512];
    EXPECT_EQ(c.code, formatOsVersionString(line, fakeQuery));
    EXPECT_STREQ(c.line, line);
    EXPECT_EQ(c.code, formatOsVersionString(nullptr, fakeQuery)) << "no buffer, same code";
  }
}

TEST(OsVersionTest, RefusedExtendedRecordFallsBackToThePlainOneAndLongTextsStayInside) {
  fake = FakeSystem();
  fake.record = version(2, 5, 0, "");
  std::memset(fake.record.servicePack, 'p', sizeof fake.record.servicePack);  // no NUL
  fake.extendedAccepted = false;
  char line[600];
  std::memset(line, 'x', sizeof line);
  EXPECT_EQ(4, formatOsVersionString(line, fakeQuery));
  EXPECT_EQ(0u, std::string(line).find("Using Old OSVERSIONINFO structure\nWin2K  - Version 5.0 "));
  EXPECT_LT(std::strlen(line), 512u);
  EXPECT_EQ((std::vector<std::string>{"extended", "plain"}), fake.asked);
  fake.plainAccepted = false;
  EXPECT_EQ(0, formatOsVersionString(line, fakeQuery));
  EXPECT_STREQ("Using Old OSVERSIONINFO structure\n", line);
}

TEST(ProgramFolderTest, PathIsCutAtItsLastSeparatorOfEitherKind) {
  const struct {
    const char* path;
    bool cut;
    const char* folder;
  } cases[] = {
      {"C:\\Program Files\\Vornith\\Vornith.exe", true, "C:\\Program Files\\Vornith"},
      {"run/sub\\vornith", true, "run/sub"},
      {"run\\sub/vornith", true, "run\\sub"},
      {"/vornith", true, ""},
      {"vornith", false, "vornith"},
      {"", false, ""},
  };
  for (const auto& c : cases) {
    std::string path = c.path;
    EXPECT_EQ(c.cut, cutToFolder(&path[0])) << c.path;
    EXPECT_STREQ(c.folder, path.c_str()) << c.path;
  }
}

TEST(SystemSettingsTest, FieldsChangedWhileRunningReplaceWhatTheFileHeld) {
  InFolder here;
  ASSERT_TRUE(here.folder.write("Vornith.ini",
                                "[system]\nsizex=500\nPlugins Directory=plugs\nPlugs0000=+Tray\n"
                                "Alias Filename=" +
                                    std::string(700, 'p') + "\n"));
  {
    SystemSettings settings;
    EXPECT_EQ(500, settings.windowWidth);
    EXPECT_STREQ("plugs", settings.pluginsDirectory);
    EXPECT_EQ(std::string(511, 'p'), settings.aliasFileName);
    // A plug-in's own write to a host key does not survive the host's field.
    ASSERT_TRUE(settings.writeInt("PosX", 99));
    settings.windowLeft = 5;
    settings.showSystemMenu = false;
  }
  SystemSettings again;
  EXPECT_EQ(5, again.windowLeft);
  EXPECT_FALSE(again.showSystemMenu);
  char registry[16] = {};
  again.getString("Plugs0000", registry, sizeof registry, "");
  EXPECT_STREQ("+Tray", registry) << "other keys of the section stay";
}

TEST(SystemSettingsTest, BooleansReadFiveCharactersAndAreWrittenOnOrOff) {
  const std::pair<const char*, bool> cases[] = {{"Yes", true},     {"TRUE", true}, {"oN", true},
                                                {"Onward", false}, {"1", false},   {"", false}};
  for (const auto& [text, expected] : cases) {
    InFolder here;
    ASSERT_TRUE(here.folder.write("Vornith.ini", std::string("[System]\nMaximized=") + text));
    EXPECT_EQ(expected, SystemSettings().maximized) << '"' << text << '"';
    EXPECT_NE(
        std::string::npos,
        here.folder.read("Vornith.ini").find(expected ? "\nMaximized=On\n" : "\nMaximized=Off\n"));
  }
}

// A damaged place hid the window for good (a zero size was saved back) or asked for gigabytes.
TEST(SystemSettingsTest, TheWindowsPlaceIsFittedToTheWorkAreaAndSavedSo) {
  vorntest::setWorkArea(RECT{0, 30, 1000, 730});
  struct Case {
    const char* keys;
    int left, top, width, height;
  };
  const Case cases[] = {
      {"PosX=10\nPosY=40\nSizeX=600\nSizeY=300", 10, 40, 600, 300},
      {"PosX=-99999999999\nSizeX=2147483647\nSizeY=2147483647", 0, 30, 1000, 700},
      {"PosX=900\nPosY=700\nSizeX=0\nSizeY=-5", 800, 580, 200, 150},
      {"PosX=-50\nPosY=-10\nSizeX=400\nSizeY=200", 0, 30, 400, 200},
  };
  for (const Case& c : cases) {
    InFolder here;
    ASSERT_TRUE(here.folder.write("Vornith.ini", std::string("[System]\n") + c.keys + "\n"));
    {
      SystemSettings settings;
      EXPECT_EQ(c.left, settings.windowLeft) << c.keys;
      EXPECT_EQ(c.top, settings.windowTop) << c.keys;
      EXPECT_EQ(c.width, settings.windowWidth) << c.keys;
      EXPECT_EQ(c.height, settings.windowHeight) << c.keys;
    }
    std::string ini = here.folder.read("Vornith.ini");
    EXPECT_NE(std::string::npos, ini.find("SizeX=" + std::to_string(c.width) + "\n")) << ini;
    EXPECT_NE(std::string::npos, ini.find("SizeY=" + std::to_string(c.height) + "\n")) << ini;
  }
  vorntest::clearWorkArea();
}

bool globalsEmpty() {
  return systemSettings == nullptr && rootWindow == nullptr && systemWindow == nullptr &&
         sdkFunctions == nullptr && plugsManagers == nullptr && systemPluginsSession == nullptr &&
         clientList == nullptr;
}

TEST(HostStartTest, StartsAndStopsTwiceLeavingNothingBehindButItsSettings) {
  InFolder here;
  std::filesystem::create_directories("Plugins");
  ASSERT_TRUE(here.folder.write("Vornith.ini", "[System]\nSizeX=640\n[alpha]\nAutoconnect=Off\n"));
  shutDown();  // nothing started: nothing to do
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(globalsEmpty());
    HINSTANCE instance = GetModuleHandleA(nullptr);
    startUp(instance);
    ASSERT_NE(nullptr, systemSettings);
    ASSERT_NE(nullptr, systemWindow);
    ASSERT_NE(nullptr, sdkFunctions);
    EXPECT_NE(nullptr, plugsManagers);
    EXPECT_NE(nullptr, systemPluginsSession);
    EXPECT_NE(nullptr, clientList);
    EXPECT_EQ(round == 0 ? 640 : 700, systemSettings->windowWidth) << "what the last run wrote";
    EXPECT_EQ(instance, sdkFunctions->instance);
    EXPECT_EQ(systemWindow->getHwnd(), sdkFunctions->systemWindow);
    // The second round ends as after a close: the window is gone before the shut-down.
    if (round == 1) DestroyWindow(systemWindow->getHwnd());
    systemSettings->windowWidth = 700 + round;
    shutDown();
    EXPECT_TRUE(globalsEmpty());
    std::string ini = here.folder.read("Vornith.ini");
    EXPECT_NE(std::string::npos, ini.find("SizeX=" + std::to_string(700 + round))) << ini;
    EXPECT_NE(std::string::npos, ini.find("[alpha]")) << ini;
  }
  // A closing system window asks the loop to end; no later loop of this process may see it.
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace
