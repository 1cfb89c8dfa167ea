// The game's own pseudo-random generator: both players must draw the same numbers from the same
// seed, so it is a fixed linear congruential generator and never the C library's rand.
#pragma once

#include <cstdint>

class MineRandom {
 public:
  MineRandom() = default;
  explicit MineRandom(uint32_t seed) : state(seed) {}

  void seed(uint32_t value) { state = value; }
  // The next number, 0 to 32767.
  int next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  }

 private:
  uint32_t state = 1;
};
