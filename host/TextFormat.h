// A String printed to fit: String::format writes within the room the string already has, so
// texts of any length (setting keys, event texts, paths) are formatted through this instead.
#pragma once

#include <cstdarg>
#include <cstdio>

#include "lib/String.h"

inline String formatText(const char* fmt, ...) VORN_PRINTF(1, 2);
inline String formatText(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list again;
  va_copy(again, args);
  int length = std::vsnprintf(nullptr, 0, fmt, args);
  va_end(args);
  String text;
  if (length >= 0) {
    text.reserve(length + 1);
    text.vformat(fmt, again);
  }
  va_end(again);
  return text;
}
