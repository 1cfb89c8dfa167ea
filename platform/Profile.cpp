// The private-profile functions: every call re-reads the file (other processes may change
// it) and every write replaces it whole, under one lock so that writers in this process
// never lose each other's keys.
#include "platform/win32_files.h"
#include "platform/win32_profile.h"

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ProfileFile.h"
#include "platform/ProfileStore.h"

using vornplatform::ProfileFile;
using vornplatform::ReadResult;

namespace {

std::mutex& writeLock() {
  static std::mutex lock;
  return lock;
}

// The file's text; empty when it is missing or unreadable (the caller then gets defaults).
std::string readProfile(LPCSTR fileName) {
  std::string content;
  if (fileName && *fileName) vornplatform::readWholeFile(resolvePath(fileName), content);
  return content;
}

DWORD copyValue(const std::string& value, LPSTR buffer, DWORD size) {
  size_t n = value.size() < size - 1 ? value.size() : size - 1;
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

// list holds names each ending in NUL; the buffer always ends with two NULs.
DWORD copyList(const std::string& list, LPSTR buffer, DWORD size) {
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    if (list.empty() && size > 1) buffer[1] = '\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

std::string withoutTrailingBlanks(LPCSTR text) {
  std::string out(text ? text : "");
  while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
  return out;
}

// A name that could not be found again once written (a line break, or for a key an '=' or
// a leading '[' or ';') is refused rather than written as a different line.
bool validSection(LPCSTR section) { return !std::strpbrk(section, "\r\n"); }

bool validKey(LPCSTR key) {
  std::string name = vornplatform::trimmed(key);
  return !name.empty() && name[0] != '[' && name[0] != ';' &&
         name.find_first_of("=\r\n") == std::string::npos;
}

// Reads the file, lets edit change it and writes it back when it changed.
template <typename Edit>
BOOL editProfile(LPCSTR fileName, Edit edit) {
  if (!fileName || !*fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> guard(writeLock());
  std::string path = resolvePath(fileName);
  std::string content;
  // Never write over a file that exists but could not be read: its settings would be lost.
  if (vornplatform::readWholeFile(path, content) == ReadResult::Failed) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  ProfileFile profile(content);
  if (!edit(profile)) return TRUE;
  if (!vornplatform::replaceWholeFile(path, profile.text())) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return TRUE;
}

UINT parseProfileInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  unsigned base = 10;
  if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
    base = 16;
    i += 2;
  }
  // Wraps like a 32-bit unsigned sum: "-1" and "4294967295" are the same UINT.
  UINT value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    unsigned digit;
    if (c >= '0' && c <= '9')
      digit = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = static_cast<unsigned>(c - 'A' + 10);
    else
      break;
    value = value * base + digit;
  }
  return negative ? 0u - value : value;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                               DWORD size, LPCSTR fileName) {
  if (!buffer || size == 0) return 0;
  ProfileFile profile(readProfile(fileName));
  if (!section) return copyList(profile.sectionList(), buffer, size);
  if (!key) return copyList(profile.keyList(section), buffer, size);
  std::string value;
  if (!profile.findValue(section, key, value)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    value = withoutTrailingBlanks(defaultValue);
  }
  return copyValue(value, buffer, size);
}

DWORD GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR fileName) {
  if (!buffer || size == 0) return 0;
  return copyList(ProfileFile(readProfile(fileName)).sectionList(), buffer, size);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
  if (!section || !key) return static_cast<UINT>(defaultValue);
  std::string value;
  if (!ProfileFile(readProfile(fileName)).findValue(section, key, value) || value.empty())
    return static_cast<UINT>(defaultValue);
  return parseProfileInt(value);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  if (!section && !key && !value) return TRUE;  // the "flush" form: nothing is cached
  if (!section || !validSection(section) || (key && !validKey(key))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return editProfile(fileName, [&](ProfileFile& profile) {
    if (!key) return profile.deleteSection(section);
    if (!value) return profile.deleteKey(section, key);
    return profile.setValue(section, key, value);
  });
}

BOOL WritePrivateProfileSectionA(LPCSTR section, LPCSTR data, LPCSTR fileName) {
  if (!section || !validSection(section)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!data) {
    return editProfile(fileName,
                       [&](ProfileFile& profile) { return profile.deleteSection(section); });
  }
  std::vector<std::string> entries;
  for (LPCSTR entry = data; *entry; entry += std::strlen(entry) + 1) entries.emplace_back(entry);
  return editProfile(
      fileName, [&](ProfileFile& profile) { return profile.replaceSection(section, entries); });
}
