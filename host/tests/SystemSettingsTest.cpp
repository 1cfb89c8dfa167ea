// The host's settings file: defaults without a file, every key written back in its order,
// and booleans read from their first five characters and written as "On"/"Off".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/SystemSettings.h"
#include "platform/tests/TempFolder.h"

namespace {

// Runs each test inside a fresh folder, since the settings file is named relative to it.
class SystemSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(tmp_.path().empty());
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(tmp_.path());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  TempFolder tmp_;
  std::filesystem::path previous_;
};

const char* const defaultFile =
    "[System]\n"
    "Plugins Directory=.\\Plugins\n"
    "Events Directory=.\\Events\n"
    "Alias Filename=.\\Alias.ini\n"
    "Always On Top=Off\n"
    "PosX=0\n"
    "PosY=0\n"
    "SizeX=600\n"
    "SizeY=300\n"
    "Magnetic Force=10\n"
    "Maximized=Off\n"
    "Show System Menu=On\n"
    "System Input Size=21\n"
    "System Tabs Style=0\n";

TEST_F(SystemSettingsTest, MissingFileGivesDefaultsAndIsWrittenWholeAtTheEnd) {
  {
    SystemSettings settings;
    EXPECT_TRUE(tmp_.read("Vornith.ini").empty()) << "nothing is written before the end";
  }
  // The fields are written as they are, so the file shows the defaults they were given.
  EXPECT_EQ(defaultFile, tmp_.read("Vornith.ini"));
}

TEST_F(SystemSettingsTest, FieldsChangedWhileRunningReplaceWhatTheFileHeld) {
  ASSERT_TRUE(tmp_.write("Vornith.ini",
                         "[system]\nsizex=800\nPlugins Directory=plugs\nPlugs0000=+Tray\n"
                         "Maximized=yes\n"));
  {
    SystemSettings settings;
    EXPECT_EQ(800, settings.windowWidth);
    EXPECT_STREQ("plugs", settings.pluginsDirectory);
    EXPECT_TRUE(settings.maximized);
    // A plug-in's own write to a host key does not survive the host's field.
    ASSERT_TRUE(settings.writeInt("PosX", 99));
    settings.windowLeft = -5;
    settings.windowTop = 7;
    settings.tabStyle = 3;
    settings.alwaysOnTop = true;
    settings.showSystemMenu = false;
    snprintf(settings.eventsDirectory, sizeof settings.eventsDirectory, "ev");
  }
  SystemSettings again;
  EXPECT_EQ(-5, again.windowLeft);
  EXPECT_EQ(7, again.windowTop);
  EXPECT_EQ(3, again.tabStyle);
  EXPECT_TRUE(again.alwaysOnTop);
  EXPECT_FALSE(again.showSystemMenu);
  EXPECT_STREQ("ev", again.eventsDirectory);
  char registry[16] = {};
  again.getString("Plugs0000", registry, sizeof registry, "");
  EXPECT_STREQ("+Tray", registry) << "other keys of the section stay";
}

TEST_F(SystemSettingsTest, BooleansReadFiveCharactersAndAreWrittenOnOrOff) {
  struct Case {
    const char* text;
    bool expected;
  };
  const Case cases[] = {{"Yes", true},     {"TRUE", true}, {"oN", true},
                        {"Onward", false}, {"1", false},   {"", false}};
  for (const Case& c : cases) {
    std::string file = std::string("[System]\nMaximized=") + c.text + "\n";
    ASSERT_TRUE(tmp_.write("Vornith.ini", file));
    {
      SystemSettings settings;
      EXPECT_EQ(c.expected, settings.maximized) << '"' << c.text << '"';
    }
    std::string written = tmp_.read("Vornith.ini");
    EXPECT_NE(std::string::npos,
              written.find(c.expected ? "\nMaximized=On\n" : "\nMaximized=Off\n"))
        << written;
  }
}

TEST_F(SystemSettingsTest, LongTextsAreCutToTheField) {
  std::string longPath(700, 'p');
  ASSERT_TRUE(tmp_.write("Vornith.ini", "[System]\nAlias Filename=" + longPath + "\n"));
  SystemSettings settings;
  EXPECT_EQ(longPath.substr(0, 511), settings.aliasFileName);
}

}  // namespace
