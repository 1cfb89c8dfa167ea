// A colour that a plug-in defined in a client by name: its current value and the label the
// setup window shows. Read from the client's Plugs.ini section when made, written back when
// deleted.
#pragma once

#include "platform/win32.h"

class Client;

class ColorSetting {
 public:
  // The stored "Color <name>" value wins over (r, g, b).
  ColorSetting(Client* owner, const char* name, const char* label, int r, int g, int b);
  ~ColorSetting();
  ColorSetting(const ColorSetting&) = delete;
  ColorSetting& operator=(const ColorSetting&) = delete;

  COLORREF colour;
  Client* owner;
  char* name;
  char* label;
  int order = 0;  // when it was defined in its client: the setup list shows that order
};
