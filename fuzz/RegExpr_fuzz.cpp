// Fuzzes the RegExpr compiler and matcher: the first byte says how many of the following
// bytes form the pattern, the rest is the text. Compiles, matches, reads every save and
// frees; the search bounds keep each run short.
#include "lib/RegExpr.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t patternLength = data[0];
  if (patternLength > size - 1) patternLength = size - 1;
  // Separate heap copies, so a read past either end is caught.
  std::string pattern(reinterpret_cast<const char*>(data + 1), patternLength);
  std::string text(reinterpret_cast<const char*>(data + 1 + patternLength),
                   size - 1 - patternLength);

  RegExpr re;
  int compiled = compileRegExpr(re, pattern.c_str());
  if (compiled != 1 && compiled != 2) __builtin_trap();
  int result = matchRegExpr(re, text.c_str());
  if (result < 0 || result > 2) __builtin_trap();
  if (result == 2 && re.error == 0) __builtin_trap();
  if (std::strlen(getRegExprError(re)) == 0) __builtin_trap();
  // A second line with the same record: an error sticks, nothing else carries over.
  int again = matchRegExpr(re, text.c_str());
  if (re.error && again == 2 ? false : again != result) __builtin_trap();

  const char* end = text.c_str() + text.size();
  for (int i = -1; i <= re.saveCount; ++i) {
    const RegExprSave* save = findRegExprSave(re, i);
    if (save && (save->start < text.c_str() || save->end > end || save->end <= save->start))
      __builtin_trap();
  }
  for (int i = 0; i < re.nextNamedSave; ++i) {
    const RegExprNamedSave& named = re.namedSaves[i];
    const RegExprSave* save = findRegExprSave(re, named.nameStart, named.nameEnd);
    if (save && (save->start < text.c_str() || save->end > end)) __builtin_trap();
  }
  freeRegExpr(re);
  return 0;
}
