// The memory figures the benchmarks report: fields of /proc/self/status such as "VmRSS:" and
// "VmHWM:", in kilobytes (-1 when unreadable).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

inline long statusField(const char* field) {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr) return -1;
  char line[256];
  long value = -1;
  size_t length = std::strlen(field);
  while (std::fgets(line, sizeof line, f) != nullptr)
    if (std::strncmp(line, field, length) == 0) value = std::atol(line + length);
  std::fclose(f);
  return value;
}
