// One section of one INI settings file, read and written through the profile functions.
// Strings, integers, "On"/"Off" booleans and "%f" floats; every call goes to the file.
#pragma once

#include "platform/win32.h"

class IniFile {
 public:
  // Keeps a copy of fileName (null stays null); no section until setSection.
  explicit IniFile(const char* fileName);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  void setSection(const char* name);
  // Deletes the current section with every key in it.
  BOOL clearSection();

  DWORD getString(const char* key, char* buffer, DWORD size, const char* defaultValue);
  BOOL writeString(const char* key, const char* value);
  int getInt(const char* key, int defaultValue);
  BOOL writeInt(const char* key, int value);
  // True for "On", "True" or "Yes" in any letter case; only five characters are read.
  bool getBool(const char* key, bool defaultValue);
  BOOL writeBool(const char* key, bool value);
  // Floats are stored with '.' whatever the process locale.
  double getFloat(const char* key, double defaultValue);
  BOOL writeFloat(const char* key, double value);

 private:
  char* fileName_;
  char* section_;
};
