#include "host/SystemSettings.h"

#include "host/WorkAreaFit.h"

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
  // Fitted at once, so a bad value is also what gets corrected on disk.
  fitToWorkArea(windowLeft, windowTop, windowWidth, windowHeight);
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
