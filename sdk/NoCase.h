// Comparison of NUL-terminated texts ignoring ASCII case, as plug-ins compare event and
// variable names; bytes above 127 compare exactly.
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
