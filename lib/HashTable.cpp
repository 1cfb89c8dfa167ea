// Table of values keyed by an int in 16 buckets (key & 15), with the string hash that makes
// the keys; each bucket is a small list whose nodes come from the table's shared pool.
#include "lib/HashTable.h"

#include <cstdint>

int hashString(const char* text) {
  uint32_t h = 0;
  if (!text) return 0;
  for (const char* p = text; *p; ++p) h = h ^ (h << 5) ^ (uint32_t)(int32_t)(signed char)*p;
  return (int32_t)h;
}
