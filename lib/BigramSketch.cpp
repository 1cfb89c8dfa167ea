// Building a text's pair sketch and choosing a literal's probes.
#include "lib/BigramSketch.h"

#include <cstring>

BigramSketch::Probe BigramSketch::probeFor(const char* literal, int length) {
  Probe probe;
  int pairs = length - 1;
  int picks = pairs < kMaxProbes ? pairs : kMaxProbes;
  for (int k = 0; k < picks; ++k) {
    // Spread over the literal when it has more pairs than probes.
    int i = k * pairs / picks;
    uint16_t bit =
        bitOf(static_cast<unsigned char>(literal[i]), static_cast<unsigned char>(literal[i + 1]));
    bool seen = false;
    for (int j = 0; j < probe.count; ++j) seen = seen || probe.bits[j] == bit;
    if (!seen) probe.bits[probe.count++] = bit;
  }
  return probe;
}

void BigramSketch::build(const char* text, size_t length) {
  std::memset(words_, 0, sizeof words_);
  const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
  for (size_t i = 0; i + 1 < length; ++i) {
    uint16_t bit = bitOf(t[i], t[i + 1]);
    words_[bit >> 6] |= uint64_t{1} << (bit & 63);
  }
}
