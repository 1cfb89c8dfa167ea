// The binding of the settings-form library vawareSetup: loaded by name once per plug-in and
// never unloaded, its entry points found by name and shared by every session. Pushes a
// session's options and words into its own form and pulls them back from it.
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
  // The entry points carry no form, and several pages may be open at once (two clients', or
  // a client's and the tray's): push and pull first ask the library for the form of form's
  // page again, which makes the library speak to that form. Without a live form of its own a
  // session's values go nowhere and stay as they are.
  // Every row in table order, then the word list. Entry points the library lacks are skipped.
  static void push(HWND form, const AlertOptions& options);
  // Every row in table order, then the words, lower-cased; null and empty words are skipped.
  static void pull(HWND form, AlertOptions& options);

  // Binds a library already loaded (tests); the next createForm loads nothing.
  static void bindModule(HMODULE module);
};
