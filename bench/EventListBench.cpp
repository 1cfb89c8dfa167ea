// Event list throughput: the sample chat events file loaded once, then a fixed-seed corpus of
// chat lines classified in order (first match wins). Reports lines per second and the slowest
// single line, long lines of up to 65,533 bytes included.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "host/EventConsole.h"
#include "host/EventList.h"
#include "host/EventsFile.h"
#include "host/tests/EventCorpus.h"

namespace {

// Load reports go to stderr so a broken sample file shows.
class StderrConsole : public EventConsole {
 public:
  void setColor(int, int, int) override {}
  void print(const char* text) override { std::fputs(text, stderr); }
};

struct Fixture {
  Fixture() : list(&console) {
    std::string path = std::string(VORNITH_BENCH_DIR) + "/chat.events";
    if (!loadEventsFile(list, path.c_str())) std::fprintf(stderr, "cannot load %s\n", path.c_str());
    lines = EventCorpus(20240605).lines(20000);
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
