// Event list throughput: the sample chat events file loaded once, then a fixed-seed corpus of
// chat lines classified in order (first match wins). Reports lines per second and the slowest
// single line, long lines of up to 65,533 bytes included.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "host/EventConsole.h"
#include "host/EventList.h"
#include "host/EventsFile.h"

namespace {

// Load reports go to stderr so a broken sample file shows.
class StderrConsole : public EventConsole {
 public:
  void setColor(int, int, int) override {}
  void print(const char* text) override { std::fputs(text, stderr); }
};

const char* const Nicks[] = {"Mira", "dessin", "Zed42", "old_timer", "K", "nightowl", "Ana-Lu"};
const char* const Channels[] = {"Dessin", "lobby", "help", "x", "Musique", "games"};
const char* const Words[] = {"hello", "how", "are", "you", "the", "server", "is", "slow",
                             "today", "see", "ya",  "lol", "ok",  "what?",  ":)", "tells"};

class Corpus {
 public:
  explicit Corpus(unsigned seed) : random_(seed) {}

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
  const char* nick() { return Nicks[pick(7)]; }
  const char* channel() { return Channels[pick(6)]; }

  std::string words(size_t length) {
    std::string text;
    while (text.size() < length) {
      if (!text.empty()) text += ' ';
      text += Words[pick(16)];
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

struct Fixture {
  Fixture() : list(&console) {
    std::string path = std::string(VORNITH_BENCH_DIR) + "/chat.events";
    if (!loadEventsFile(list, path.c_str())) std::fprintf(stderr, "cannot load %s\n", path.c_str());
    lines = Corpus(20240605).lines(20000);
  }
  StderrConsole console;
  EventList list;
  std::vector<std::string> lines;
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_EventListCorpus(benchmark::State& state) {
  Fixture& f = fixture();
  EventRecord data;
  int unknown = 0;
  for (auto _ : state) {
    unknown = 0;
    for (const std::string& line : f.lines) {
      const char* name = f.list.match(line.c_str(), data);
      if (name[0] == '[') ++unknown;
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(f.lines.size()));
  state.counters["events"] = f.list.count();
  state.counters["unknown"] = unknown;
}
BENCHMARK(BM_EventListCorpus)->Unit(benchmark::kMillisecond);

void BM_EventListWorstLine(benchmark::State& state) {
  Fixture& f = fixture();
  EventRecord data;
  double worst = 0;
  size_t worstLength = 0;
  for (auto _ : state) {
    for (const std::string& line : f.lines) {
      auto start = std::chrono::steady_clock::now();
      f.list.match(line.c_str(), data);
      double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
      if (ms > worst) {
        worst = ms;
        worstLength = line.size();
      }
    }
  }
  state.counters["worst_ms"] = worst;
  state.counters["worst_len"] = static_cast<double>(worstLength);
}
BENCHMARK(BM_EventListWorstLine)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
