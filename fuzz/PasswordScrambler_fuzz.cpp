// The stored password comes from a settings file a user may edit: unscrambling any bytes must
// stay inside them, and any password must scramble to a storable text and come back whole.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "plugins/NevChat/PasswordScrambler.h"

namespace {

// A NUL-terminated heap copy of exactly the bytes given, so a read past the end is caught.
char* terminatedCopy(const uint8_t* data, size_t size) {
  char* copy = static_cast<char*>(std::malloc(size + 1));
  if (copy == nullptr) std::abort();
  if (size > 0) std::memcpy(copy, data, size);
  copy[size] = '\0';
  return copy;
}

// NUL and the control characters would not survive a line of the settings file.
bool storable(const String& text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text.text());
  for (int i = 0; i < text.length(); ++i)
    if (p[i] < 0x20 || p[i] == 0x7F) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  char* bytes = terminatedCopy(data, size);
  size_t plainLength = std::strlen(bytes);

  // Each stored character gives at most one password character.
  String unscrambled = unscramblePassword(bytes);
  if (static_cast<size_t>(unscrambled.length()) > plainLength) std::abort();

  // The bytes up to their first NUL as a password; a NUL inside the scramble would cut it
  // short and fail the way back.
  String scrambled = scramblePassword(bytes);
  if (static_cast<size_t>(scrambled.length()) > 2 * plainLength) std::abort();
  if (!storable(scrambled)) std::abort();
  String back = unscramblePassword(scrambled.text());
  if (std::strcmp(back.text(), bytes) != 0) std::abort();

  std::free(bytes);
  return 0;
}
