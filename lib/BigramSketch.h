// Which byte pairs a text holds, as a small bit set built once per text: a test that a literal
// cannot occur in the text, far cheaper than searching for it (never wrong when it says no).
#pragma once

#include <cstddef>
#include <cstdint>

class BigramSketch {
 public:
  static constexpr int kBits = 2048;
  static constexpr int kMaxProbes = 8;

  // The pairs of a literal that a text must hold to contain it; none for a literal shorter
  // than two bytes (such a probe passes every text).
  struct Probe {
    uint16_t bits[kMaxProbes] = {};
    int count = 0;
  };
  static Probe probeFor(const char* literal, int length);

  void build(const char* text, size_t length);
  // False only when the text cannot contain the probe's literal.
  bool mayHold(const Probe& probe) const {
    for (int i = 0; i < probe.count; ++i)
      if (!(words_[probe.bits[i] >> 6] >> (probe.bits[i] & 63) & 1)) return false;
    return true;
  }

 private:
  static uint16_t bitOf(unsigned char a, unsigned char b) {
    return static_cast<uint16_t>((a * 67u + b) & (kBits - 1));
  }

  uint64_t words_[kBits / 64] = {};
};
