#include "host/SystemSettings.h"

SystemSettings::SystemSettings() : IniFile(".\\Vornith.ini") {
  setSection("System");
  getString("Plugins Directory", pluginsDirectory, TextSize, ".\\Plugins");
  getString("Events Directory", eventsDirectory, TextSize, ".\\Events");
  getString("Alias Filename", aliasFileName, TextSize, ".\\Alias.ini");
  alwaysOnTop = getBool("Always On Top", false);
  windowLeft = getInt("PosX", 0);
  windowTop = getInt("PosY", 0);
  windowWidth = getInt("SizeX", 600);
  windowHeight = getInt("SizeY", 300);
  magneticForce = getInt("Magnetic Force", 10);
  maximized = getBool("Maximized", false);
  showSystemMenu = getBool("Show System Menu", true);
  inputHeight = getInt("System Input Size", 21);
  tabStyle = getInt("System Tabs Style", 0);
}

SystemSettings::~SystemSettings() {
  writeString("Plugins Directory", pluginsDirectory);
  writeString("Events Directory", eventsDirectory);
  writeString("Alias Filename", aliasFileName);
  writeBool("Always On Top", alwaysOnTop);
  writeInt("PosX", windowLeft);
  writeInt("PosY", windowTop);
  writeInt("SizeX", windowWidth);
  writeInt("SizeY", windowHeight);
  writeInt("Magnetic Force", magneticForce);
  writeBool("Maximized", maximized);
  writeBool("Show System Menu", showSystemMenu);
  writeInt("System Input Size", inputHeight);
  writeInt("System Tabs Style", tabStyle);
}
