#include "plugins/vaware/AlertRules.h"

#include <strings.h>

#include <algorithm>
#include <cstddef>
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

namespace {

// Lower-casing as the "C" locale does it (the program's character type), ASCII letters only.
inline unsigned char lowerOf(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

// The next place at or after from where the lower-cased text reads word, or null. The first
// letter is looked for in both cases with memchr, so long lines are scanned at memory speed.
const char* nextOf(const char* from, const char* end, unsigned char c) {
  if (from >= end) return nullptr;
  return static_cast<const char*>(std::memchr(from, c, static_cast<size_t>(end - from)));
}

const char* findLowered(const char* from, const char* end, const char* word, size_t length) {
  unsigned char first = static_cast<unsigned char>(word[0]);
  if (first >= 'A' && first <= 'Z') return nullptr;  // a lower-cased text has no capitals
  bool letter = first >= 'a' && first <= 'z';
  if (end - from < static_cast<ptrdiff_t>(length)) return nullptr;
  const char* last = end - length + 1;  // a hit starts before this
  // Each case's next place is kept until passed, so no byte is scanned twice.
  const char* a = nextOf(from, last, first);
  const char* b = letter ? nextOf(from, last, static_cast<unsigned char>(first - 32)) : nullptr;
  while (a != nullptr || b != nullptr) {
    const char* at = a == nullptr ? b : (b == nullptr || a < b ? a : b);
    size_t i = 1;
    while (i < length && lowerOf(static_cast<unsigned char>(at[i])) == static_cast<unsigned char>(word[i])) ++i;
    if (i == length) return at;
    if (at == a) a = nextOf(at + 1, last, first);
    if (at == b) b = nextOf(at + 1, last, static_cast<unsigned char>(first - 32));
  }
  return nullptr;
}

}  // namespace

bool AlertRules::containsWord(const char* text, const char* word, bool wordOnly) {
  if (text == nullptr || word == nullptr || word[0] == '\0') return false;
  size_t length = std::strlen(word);
  const char* end = text + std::strlen(text);
  for (const char* hit = findLowered(text, end, word, length); hit != nullptr;
       hit = findLowered(hit + length, end, word, length)) {
    bool before = hit == text || isWordBoundary(static_cast<unsigned char>(hit[-1]), wordOnly);
    bool after = hit + length == end || isWordBoundary(static_cast<unsigned char>(hit[length]), wordOnly);
    if (before && after) return true;
  }
  return false;
}

const char* const AlertRules::kCutMark = "...";

std::string AlertRules::firstLine(const char* text) {
  if (text == nullptr) return std::string();
  return std::string(text, std::strcspn(text, "\r\n"));
}

std::string AlertRules::cutLine(const std::string& line, size_t keep) {
  if (line.size() <= keep) return line;
  size_t end = keep;
  while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
  return line.substr(0, end) + kCutMark;
}

unsigned AlertRules::hideDelayMs(unsigned baseMs, size_t lineLength) {
  const size_t longest = static_cast<size_t>(kMaxDelayMs) * 60u / 1000u;  // no overflow below
  size_t delay = baseMs + std::min(lineLength, longest) * 1000u / 60u;
  return static_cast<unsigned>(std::min(delay, static_cast<size_t>(kMaxDelayMs)));
}
