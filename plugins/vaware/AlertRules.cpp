#include "plugins/vaware/AlertRules.h"

#include <strings.h>

#include <cctype>
#include <cstring>

AlertRules::EventKind AlertRules::kindOf(const char* eventName) {
  if (eventName == nullptr) return NoAlert;
  if (strncasecmp(eventName, "tel", 3) == 0) return TellEvent;
  for (const char* prefix : {"sen", "sho", "emo", "usr"})
    if (strncasecmp(eventName, prefix, 3) == 0) return WordEvent;
  return NoAlert;
}

bool AlertRules::isWordBoundary(unsigned char c, bool wordOnly) {
  if (!wordOnly) return true;
  return !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
}

bool AlertRules::containsWord(const char* text, const char* word, bool wordOnly) {
  if (text == nullptr || word == nullptr || word[0] == '\0') return false;
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  size_t length = std::strlen(word);
  for (size_t hit = lower.find(word); hit != std::string::npos; hit = lower.find(word, hit + length)) {
    bool before = hit == 0 || isWordBoundary(static_cast<unsigned char>(lower[hit - 1]), wordOnly);
    size_t end = hit + length;
    bool after = end == lower.size() || isWordBoundary(static_cast<unsigned char>(lower[end]), wordOnly);
    if (before && after) return true;
  }
  return false;
}

std::string AlertRules::firstLine(const char* text) {
  if (text == nullptr) return std::string();
  return std::string(text, std::strcspn(text, "\r\n"));
}

unsigned AlertRules::hideDelayMs(unsigned baseMs, size_t lineLength) {
  return baseMs + static_cast<unsigned>(lineLength * 1000u / 60u);
}
