// The binding of the settings-form library vawareSetup: loaded by name once per plug-in and
// never unloaded, its entry points found by name and shared by every session. Pushes a
// session's options and words into the form and pulls them back.
#pragma once

#include "platform/win32.h"
#include "plugins/SettingsForm/AlertOptions.h"

class SettingsFormBinding {
 public:
  // The library's file, relative to the program's folder.
  static const char* const kLibraryFile;

  // Loads and binds the library (once) and makes a form in parent; null when the library or
  // its CreateForm is missing.
  static HWND createForm(HWND parent);
  // Every row in table order, then the word list. Entry points the library lacks are skipped.
  static void push(const AlertOptions& options);
  // Every row in table order, then the words, lower-cased; null and empty words are skipped.
  static void pull(AlertOptions& options);

  // Binds a library already loaded (tests); the next createForm loads nothing.
  static void bindModule(HMODULE module);
};
