// The chat lines of the flood benchmarks and the engine tests: a stamp, a nick and 1 to 40
// words, generated from a fixed seed so that every run sees the same bytes.
#pragma once

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace chatbench {

// The last line of the flood: the pane's last line shows it once everything arrived.
const char kLastWords[] = "that was the flood";

// Chat lines as the server relays them: a stamp, bob's nick and 1 to 40 words, an emoticon in
// about one line of eight. Fixed seed, so every run sends the same bytes.
inline std::vector<std::string> chatLines(long count) {
  static const char* const words[] = {
      "the",    "server",     "is",     "fast", "tonight",    "who",   "wants",
      "coffee", "a",          "really", "long", "discussion", "about", "nothing",
      "in",     "particular", "ok",     "lol",  "brb",        "see",   "you",
      "later",  "channel",    "topic",  "yes",  "no",         "maybe"};
  static const char* const emoticons[] = {":)", ";)", ":D", ":P", ":(", ":-)", ":o", ":S"};
  std::mt19937 random(20240611);
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(count));
  for (long i = 0; i < count; ++i) {
    long second = 12 * 3600 + i / 200;  // about 200 lines a second of chat time
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02ld:%02ld:%02ld <bob> ", second / 3600 % 24,
                  second / 60 % 60, second % 60);
    std::string line = stamp;
    int wordCount = 1 + static_cast<int>(random() % 40);
    for (int w = 0; w < wordCount; ++w) {
      if (w > 0) line += ' ';
      line += words[random() % (sizeof words / sizeof *words)];
      if (random() % 64 == 0) line += std::string(" ") + emoticons[random() % 8];
    }
    if (random() % 8 == 0) line += std::string(" ") + emoticons[random() % 8];
    lines.push_back(line + "\n");
  }
  if (!lines.empty()) lines.back() = "13:00:00 <bob> " + std::string(kLastWords) + "\n";
  return lines;
}

}  // namespace chatbench
