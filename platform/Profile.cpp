// The private-profile functions over the process's copies of the files (ProfileCache): reads
// see every write at once, and other programs' changes once they reach the disk.
#include "platform/win32_files.h"
#include "platform/win32_profile.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/ProfileCache.h"
#include "platform/ProfileFile.h"

using vornplatform::EditResult;
using vornplatform::ProfileFile;

namespace {

// Calls use with the file; an empty one when it is missing or unreadable (defaults apply).
template <typename Use>
void readProfile(LPCSTR fileName, Use use) {
  if (!fileName || !*fileName) {
    use(ProfileFile(std::string()));
    return;
  }
  vornplatform::readProfileFile(fileName, use);
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

// Lets edit change the file; edit owns what it uses, as it may run again later.
BOOL editProfile(LPCSTR fileName, vornplatform::ProfileEdit edit) {
  if (!fileName || !*fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Never written over: a file that exists but could not be read, or that could not be replaced.
  if (vornplatform::editProfileFile(fileName, std::move(edit)) != EditResult::Done) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return TRUE;
}

// The flush form writes what waits for the file at once; a null name flushes every file.
BOOL flushProfile(LPCSTR fileName) {
  if (!fileName || !*fileName) {
    vornplatform::flushProfileFiles();
    return TRUE;
  }
  if (vornplatform::flushProfileFile(resolvePath(fileName))) return TRUE;
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
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
  std::string text;
  bool found = true;
  readProfile(fileName, [&](const ProfileFile& profile) {
    if (!section)
      text = profile.sectionList();
    else if (!key)
      text = profile.keyList(section);
    else
      found = profile.findValue(section, key, text);
  });
  if (!section || !key) return copyList(text, buffer, size);
  if (!found) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    text = withoutTrailingBlanks(defaultValue);
  }
  return copyValue(text, buffer, size);
}

DWORD GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR fileName) {
  if (!buffer || size == 0) return 0;
  std::string list;
  readProfile(fileName, [&](const ProfileFile& profile) { list = profile.sectionList(); });
  return copyList(list, buffer, size);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
  if (!section || !key) return static_cast<UINT>(defaultValue);
  std::string value;
  bool found = false;
  readProfile(fileName,
              [&](const ProfileFile& profile) { found = profile.findValue(section, key, value); });
  if (!found || value.empty()) return static_cast<UINT>(defaultValue);
  return parseProfileInt(value);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  if (!section && !key && !value) return flushProfile(fileName);
  if (!section || !validSection(section) || (key && !validKey(key))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string sectionName(section), keyName(key ? key : ""), newValue(value ? value : "");
  bool hasKey = key != nullptr, hasValue = value != nullptr;
  return editProfile(fileName, [=](ProfileFile& profile) {
    if (!hasKey) return profile.deleteSection(sectionName.c_str());
    if (!hasValue) return profile.deleteKey(sectionName.c_str(), keyName.c_str());
    return profile.setValue(sectionName.c_str(), keyName.c_str(), newValue.c_str());
  });
}

BOOL WritePrivateProfileSectionA(LPCSTR section, LPCSTR data, LPCSTR fileName) {
  if (!section || !validSection(section)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string sectionName(section);
  if (!data) {
    return editProfile(
        fileName, [=](ProfileFile& profile) { return profile.deleteSection(sectionName.c_str()); });
  }
  std::vector<std::string> entries;
  for (LPCSTR entry = data; *entry; entry += std::strlen(entry) + 1) entries.emplace_back(entry);
  return editProfile(fileName, [=](ProfileFile& profile) {
    return profile.replaceSection(sectionName.c_str(), entries);
  });
}
