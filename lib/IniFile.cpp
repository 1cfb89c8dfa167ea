// Typed settings over the profile functions. Buffers are local, so any number of threads
// may read and write settings at once.
#include "lib/IniFile.h"

#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

char* copyOf(const char* text) {
  if (!text) return nullptr;
  size_t size = std::strlen(text) + 1;
  char* copy = new char[size];
  std::memcpy(copy, text, size);
  return copy;
}

bool equalsIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
    char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

// strtod as the "C" locale reads it: '.' is the decimal point and nothing else is.
double parseLeadingNumber(const char* text) {
  const char* point = std::localeconv()->decimal_point;
  if (!point || !*point || std::strcmp(point, ".") == 0) return std::strtod(text, nullptr);
  std::string number(text);
  size_t cut = number.find(point[0]);  // ends the number, as it would in the "C" locale
  if (cut != std::string::npos) number.resize(cut);
  size_t dot = number.find('.');
  if (dot != std::string::npos) number.replace(dot, 1, point);
  return std::strtod(number.c_str(), nullptr);
}

}  // namespace

IniFile::IniFile(const char* fileName) : fileName_(copyOf(fileName)), section_(nullptr) {}

IniFile::~IniFile() {
  delete[] fileName_;
  delete[] section_;
}

void IniFile::setSection(const char* name) {
  char* copy = copyOf(name);
  delete[] section_;
  section_ = copy;
}

BOOL IniFile::clearSection() { return WritePrivateProfileSectionA(section_, nullptr, fileName_); }

DWORD IniFile::getString(const char* key, char* buffer, DWORD size, const char* defaultValue) {
  return GetPrivateProfileStringA(section_, key, defaultValue, buffer, size, fileName_);
}

BOOL IniFile::writeString(const char* key, const char* value) {
  return WritePrivateProfileStringA(section_, key, value, fileName_);
}

int IniFile::getInt(const char* key, int defaultValue) {
  return static_cast<int>(GetPrivateProfileIntA(section_, key, defaultValue, fileName_));
}

BOOL IniFile::writeInt(const char* key, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return writeString(key, text);
}

bool IniFile::getBool(const char* key, bool defaultValue) {
  char text[6];
  getString(key, text, sizeof text, defaultValue ? "On" : "Off");
  return equalsIgnoringCase(text, "On") || equalsIgnoringCase(text, "True") ||
         equalsIgnoringCase(text, "Yes");
}

BOOL IniFile::writeBool(const char* key, bool value) {
  return writeString(key, value ? "On" : "Off");
}

double IniFile::getFloat(const char* key, double defaultValue) {
  char text[1024];
  if (getString(key, text, sizeof text, "") == 0) return defaultValue;
  return parseLeadingNumber(text);
}

BOOL IniFile::writeFloat(const char* key, double value) {
  // Fixed notation with six decimals, exactly "%f" in the "C" locale; the largest double
  // needs 309 digits before the point.
  char text[400];
  std::to_chars_result result =
      std::to_chars(text, text + sizeof text - 1, value, std::chars_format::fixed, 6);
  *result.ptr = '\0';
  return writeString(key, text);
}
