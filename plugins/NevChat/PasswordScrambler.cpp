#include "plugins/NevChat/PasswordScrambler.h"

namespace {

// The key every scramble and unscramble starts from (any value 0..127 would do; stored
// passwords depend on it, so it never changes).
constexpr unsigned kInitialKey = 42;

// Values of 96 and more are written as '`' and a second character of value - 63; the second
// character skips 127 (DEL), which only bytes above 127 would otherwise reach.
constexpr unsigned kEscape = '`';

void putChar(String& out, unsigned value) {
  char c = static_cast<char>(value);
  out.append(&c, 1);
}

}  // namespace

String scramblePassword(const char* plain) {
  String out;
  if (plain == nullptr) return out;
  unsigned key = kInitialKey;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(plain); *p; ++p) {
    unsigned e = (*p ^ key) + 33;  // 33..288: never wrapped to a byte
    if (e < kEscape) {
      putChar(out, e);
    } else {
      unsigned second = e - 63;
      putChar(out, kEscape);
      putChar(out, second < 127 ? second : second + 1);
    }
    key = (key + *p) % 128;
  }
  return out;
}

String unscramblePassword(const char* stored) {
  String out;
  if (stored == nullptr) return out;
  unsigned key = kInitialKey;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(stored); *p; ++p) {
    unsigned v = *p;
    if (v == kEscape) {
      if (*++p == '\0') break;
      v = *p < 127 ? *p + 63u : *p + 62u;
    }
    unsigned c = ((v - 33) ^ key) & 0xFF;
    if (c == 0) break;  // a damaged stored text ends the password
    putChar(out, c);
    key = (key + c) % 128;
  }
  return out;
}
