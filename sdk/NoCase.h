// Comparison of NUL-terminated texts ignoring ASCII case, as plug-ins compare event and
// variable names and commands; bytes above 127 compare exactly.
#pragma once

#include <cctype>

inline bool equalsNoCase(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return false;
  for (;; ++a, ++b) {
    int ca = std::tolower(static_cast<unsigned char>(*a));
    int cb = std::tolower(static_cast<unsigned char>(*b));
    if (ca != cb) return false;
    if (ca == 0) return true;
  }
}

// Whether text begins with prefix; neither may be null.
inline bool startsNoCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix)
    if (std::tolower(static_cast<unsigned char>(*text)) !=
        std::tolower(static_cast<unsigned char>(*prefix)))
      return false;
  return true;
}
