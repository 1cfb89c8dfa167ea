// The pair sketch never rules out a literal that the text holds, and does rule out one whose
// pairs it lacks.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "lib/BigramSketch.h"

namespace {

TEST(BigramSketchTest, EveryPieceOfTheTextPassesAndMissingPairsFail) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string text;
    for (int i = 0; i < 80; ++i) text += static_cast<char>("ab ervdSto<N>\xe9\n"[random() % 15]);
    BigramSketch sketch;
    sketch.build(text.c_str(), text.size());
    for (size_t start = 0; start < text.size(); start += 3)
      for (size_t length = 1; start + length <= text.size() && length <= 40; length += 5) {
        std::string literal = text.substr(start, length);
        BigramSketch::Probe probe =
            BigramSketch::probeFor(literal.c_str(), static_cast<int>(literal.size()));
        ASSERT_TRUE(sketch.mayHold(probe)) << literal;
      }
  }
  // Repeated pairs in a long literal leave probes unused; none may read past its end.
  std::string text = "12:34:56 <Nev> Server moved to 127.0.0.1 4778\n";
  BigramSketch sketch;
  sketch.build(text.c_str(), text.size());
  const char literal[] = "<Nev> Server moved to ";
  EXPECT_TRUE(sketch.mayHold(BigramSketch::probeFor(literal, sizeof literal - 1)));
  EXPECT_FALSE(sketch.mayHold(BigramSketch::probeFor("Nev> Sq", 7)));
  EXPECT_TRUE(sketch.mayHold(BigramSketch::probeFor("q", 1)));
}

}  // namespace
