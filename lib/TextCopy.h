// Heap copies of NUL-terminated texts, freed with delete[]: the one helper for every owner of
// a copied name, pattern or line.
#pragma once

#include <cstring>

// A copy of text; null stays null.
inline char* copyText(const char* text) {
  if (!text) return nullptr;
  size_t size = std::strlen(text) + 1;
  char* copy = new char[size];
  std::memcpy(copy, text, size);
  return copy;
}

// A copy of text; null gives an empty text.
inline char* copyTextOrEmpty(const char* text) { return copyText(text ? text : ""); }
