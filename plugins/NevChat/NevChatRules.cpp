#include "plugins/NevChat/NevChatRules.h"

#include <cctype>
#include <cstring>

#include "sdk/NoCase.h"

namespace {

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Position of the first occurrence of word in text ignoring case, or -1.
int findNoCase(const char* text, const char* word) {
  size_t n = strlen(word);
  for (int i = 0; text[i] != '\0'; ++i) {
    size_t k = 0;
    while (k < n && text[i + k] != '\0' && lower(text[i + k]) == lower(word[k])) ++k;
    if (k == n) return i;
  }
  return -1;
}

// Minutes: the one or two digits just before the first 'm' that has a digit before it.
int idleMinutes(const char* idle) {
  if (idle[0] == '\0') return 0;
  for (int i = 1; idle[i] != '\0'; ++i) {
    if (idle[i] != 'm' || !std::isdigit(static_cast<unsigned char>(idle[i - 1]))) continue;
    int minutes = idle[i - 1] - '0';
    if (i >= 2 && std::isdigit(static_cast<unsigned char>(idle[i - 2])))
      minutes += 10 * (idle[i - 2] - '0');
    return minutes;
  }
  return 0;
}

}  // namespace

char whoStatus(const char* idle) {
  if (idle == nullptr) return ' ';
  char status = idle[0] == '*' ? 'a' : ' ';
  if (idleMinutes(idle) > 14 || strchr(idle, 'h') != nullptr || strchr(idle, 'd') != nullptr)
    status = 'g';
  return status;
}

bool holdsWholeWord(const char* text, const char* word) {
  if (text == nullptr || word == nullptr || word[0] == '\0') return false;
  int at = findNoCase(text, word);
  if (at < 0) return false;
  if (at > 0 && isWordChar(text[at - 1])) return false;
  return !isWordChar(text[at + strlen(word)]);
}

bool groupRefusesData(const char* group) {
  static const char* const refusing[] = {"Emote", "Register", "NoGroup", "Aubel", "Banned"};
  for (const char* name : refusing) {
    if (equalsNoCase(name, group)) return true;
  }
  return false;
}

bool beginsWithNoCase(const char* text, const char* keyword) {
  if (text == nullptr || keyword == nullptr) return false;
  for (; *keyword != '\0'; ++text, ++keyword) {
    if (*text == '\0' || lower(*text) != lower(*keyword)) return false;
  }
  return true;
}

const char* textFrom(const char* text, int offset) {
  if (text == nullptr || offset < 0 || strlen(text) < static_cast<size_t>(offset)) return "";
  return text + offset;
}
