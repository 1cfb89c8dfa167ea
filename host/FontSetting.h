// A font that a plug-in defined in a client by name: the font itself (face, size, style) and the
// label the setup window shows. Read from the client's Plugs.ini section when made, written back
// when deleted, so it must be deleted as a FontSetting (never released as a plain Font).
#pragma once

#include "lib/Font.h"

class Client;

class FontSetting : public Font {
 public:
  // The stored "Font <name> ..." values win over face, size and style.
  FontSetting(Client* owner, const char* name, const char* label, const char* face, int size,
              int style);
  ~FontSetting() override;
  FontSetting(const FontSetting&) = delete;
  FontSetting& operator=(const FontSetting&) = delete;

  Client* owner;
  char* name;
  char* label;
  int order = 0;  // when it was defined in its client: the setup list shows that order
};
