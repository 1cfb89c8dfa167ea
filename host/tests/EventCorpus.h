// A fixed-seed corpus of chat server lines for the event list: the usual traffic of a chat
// server and a few long lines of up to 65,533 bytes that are slow to rule out.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace eventcorpus {

const char* const Nicks[] = {"Mira", "dessin", "Zed42", "old_timer", "K", "nightowl", "Ana-Lu"};
const char* const Channels[] = {"Dessin", "lobby", "help", "x", "Musique", "games"};
const char* const Words[] = {"hello", "how", "are", "you", "the", "server", "is", "slow",
                             "today", "see", "ya",  "lol", "ok",  "what?",  ":)", "tells"};

}  // namespace eventcorpus

class EventCorpus {
 public:
  explicit EventCorpus(unsigned seed) : random_(seed) {}

  std::vector<std::string> lines(int count) {
    std::vector<std::string> result;
    for (int i = 0; i < count; ++i) result.push_back(line());
    // Long lines: chat text, a line with no event, and one full of near-misses.
    result.push_back("<Mira> " + words(65533 - 8) + "\n");
    result.push_back(std::string(65532, 'x') + "\n");
    std::string nearMiss;
    while (nearMiss.size() < 65400) nearMiss += "#vdraw channel lobby line 1 ";
    result.push_back(nearMiss + "\n");
    result.push_back("Mira tells you: " + std::string(65533 - 17, 'a') + "\n");
    for (std::string& text : result)
      if (text.size() > 65533) text.resize(65533);
    return result;
  }

 private:
  int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
  const char* nick() { return eventcorpus::Nicks[pick(7)]; }
  const char* channel() { return eventcorpus::Channels[pick(6)]; }

  std::string words(size_t length) {
    std::string text;
    while (text.size() < length) {
      if (!text.empty()) text += ' ';
      text += eventcorpus::Words[pick(16)];
    }
    text.resize(length);
    return text;
  }

  std::string say() { return words(4 + pick(80)); }

  std::string line() {
    std::string n = nick();
    switch (pick(20)) {
      case 0:
      case 1:
      case 2:
      case 3:
      case 4:
        return "<" + n + "> " + say() + "\n";
      case 5:
      case 6:
        return n + " tells you: " + say() + "\n";
      case 7:
        return "You tell " + n + ": " + say() + "\n";
      case 8:
        return n + " joins the channel " + channel() + "\n";
      case 9:
        return n + " left the channel " + channel() + "\n";
      case 10:
        return "* " + n + " " + say() + "\n";
      case 11:
        return n + " shouts: " + say() + "\n";
      case 12:
        return "   " + n + "   users   " + std::to_string(pick(500)) + "\n";
      case 13:
        return n + " is away: " + say() + "\n";
      case 14:
        return "#vdatas " + n + " " + say() + "\n";
      case 15:
        return "#vdraw " + n + " line " + std::to_string(pick(640)) + " " +
               std::to_string(pick(480)) + " 3 4\n";
      case 16:
        return "Password: ";
      case 17:
        return "Topic of " + std::string(channel()) + " is: " + say() + "\n";
      default:
        return say() + "\n";  // server chatter that no event names
    }
  }

  std::mt19937 random_;
};
