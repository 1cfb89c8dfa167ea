// The host's own settings: section "System" of ".\Vornith.ini", read once when made and
// written back once when destroyed. The fields are public and used directly by their owners.
#pragma once

#include "lib/IniFile.h"

class SystemSettings : public IniFile {
 public:
  enum { TextSize = 512 };

  // Reads every field; a missing file, section or key gives the field's default. The window's
  // place is fitted to the screen's work area.
  SystemSettings();
  // Writes every field back (creating the file when needed), in the order they were read.
  ~SystemSettings();
  SystemSettings(const SystemSettings&) = delete;
  SystemSettings& operator=(const SystemSettings&) = delete;

  char pluginsDirectory[TextSize];
  char eventsDirectory[TextSize];
  // Kept only so that it survives a run.
  char aliasFileName[TextSize];
  int windowLeft;
  int windowTop;
  int windowWidth;
  int windowHeight;
  int magneticForce;
  bool maximized;
  bool alwaysOnTop;
  bool showSystemMenu;
  int inputHeight;
  // 0 bottom tabs, 1 top tabs, 2 buttons, 3 flat buttons.
  int tabStyle;
};
