// The font of a chat input line: built from a font key of the client at the screen's
// resolution and handed to the edit; the font it replaces is deleted.
#pragma once

#include "platform/win32.h"
#include "sdk/PlugsSession.h"

class InputFont {
 public:
  InputFont() = default;
  ~InputFont();
  InputFont(const InputFont&) = delete;
  InputFont& operator=(const InputFont&) = delete;

  // Gives edit the key's font (WM_SETFONT); false, with the font unchanged, when the key has
  // no face or the edit no window.
  bool apply(PlugsSession* session, HWND edit, const char* key = "input");
  HFONT handle() const { return font; }

 private:
  HFONT font = nullptr;
};
