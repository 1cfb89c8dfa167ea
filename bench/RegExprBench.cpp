// RegExpr throughput on chat-like traffic: about 60 event patterns compiled once, then a
// fixed-seed corpus of lines matched against them in order (first match wins). Reports
// lines per second, the slowest single line and heap allocations made while matching.
#include "lib/RegExpr.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpragmas"
#pragma GCC diagnostic ignored "-Wunknown-warning-option"
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
// Every allocation of the process is counted, so the matching loop can show it makes none.
static std::atomic<long long> gAllocations{0};

void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  std::abort();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

// Event-like patterns: each template comes in three wordings.
std::vector<std::string> eventPatterns() {
  const char* templates[] = {
      "^<(/w+):(nick)> (.*):(text)$",
      "^/*/*/* (/w+):(nick) has %s the channel",
      "^/*/*/* (/w+):(nick) %s (/w+):(channel)$",
      "^/*/*/* (/w+):(nick) has quit{ /((.*):(reason)/)}?$",
      "^Private message from ([a-zA-Z_0-9]+):(nick): (.*):(text)$",
      "^%s from (/w+):(nick) /[(/d+):(size) bytes/]",
      "^/[Server/] %s: (.*):(text)$",
      "^-(/w+):(server)- /*/*/* Notice -- %s (.*):(text)",
      "^Login (/w+):(login) {accepted|refused}{ as (/w+):(group)}?",
      "^(/d@2):(hour):(/d@2):(minute) <(/w+):(nick)> %s",
      "^senddata (/w+):(nick) (/w+):(request) (.*):(data)$",
      "^/*/*/* Topic for #(/w+):(channel): (.*):(topic)",
      "^/*/*/* Mode #(/w+):(channel) /[[+-]@i1,2[a-zA-Z]+/] by (/w+):(nick)",
      "^(/w+):(nick) {is away|is back}{/b(.*):(reason)}?",
      "{http|ftp}://([^ /b]+):(host)(/[^ ]*)?",
      "^/*/*/* (/w+):(nick) is now known as (/w+):(newnick)$",
      "^<(/w+):(nick)> %s{/w|/d}@+3 (.*):(args)",
      "^(/w+):(nick) sends a file: (.*):(file) {/((/d+):(size)/)}?$",
      "^/[(/d+):(count)/] users on %s",
      "^ERROR: (.*):(text)$",
  };
  const char* words[] = {"joined", "left", "kicked", "VFILE", "Warning",
                         "KILL",   "ping", "#lobby", "Offer", "welcome"};
  std::vector<std::string> patterns;
  int word = 0;
  for (const char* t : templates) {
    for (int variant = 0; variant < 3; ++variant) {
      std::string p = t;
      size_t at = p.find("%s");
      if (at != std::string::npos)
        p.replace(at, 2, words[word++ % 10]);
      else if (variant == 1 && p[0] == '^')
        p.erase(0, 1);  // tried at every offset
      else if (variant == 2 && p.back() != '$')
        p += "/b";
      patterns.push_back(p);
    }
  }
  return patterns;
}

std::string randomWord(std::mt19937& rng, int min, int max) {
  static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
  int length = std::uniform_int_distribution<int>(min, max)(rng);
  std::string w;
  for (int i = 0; i < length; ++i) w += letters[rng() % (sizeof letters - 1)];
  return w;
}

std::string randomText(std::mt19937& rng, size_t length) {
  std::string text;
  while (text.size() < length) text += randomWord(rng, 1, 9) + (rng() % 9 ? " " : ", ");
  text.resize(length);
  return text;
}

// Mostly "<nick> text" messages of about 40 bytes (50 on average with the rest), then joins, quits,
// notices, private messages and noise; one line in 200 is long (up to 4 KB).
std::vector<std::string> chatCorpus(size_t lines) {
  std::mt19937 rng(20240611);
  std::vector<std::string> corpus;
  std::exponential_distribution<double> shortLength(1.0 / 28);
  for (size_t i = 0; i < lines; ++i) {
    std::string nick = randomWord(rng, 3, 12);
    size_t length = rng() % 200 == 0 ? 1000 + rng() % 3096 : 5 + size_t(shortLength(rng));
    switch (rng() % 10) {
      case 0:
        corpus.push_back("*** " + nick + " has joined the channel");
        break;
      case 1:
        corpus.push_back("*** " + nick + " has quit (" + randomText(rng, length % 30) + ")");
        break;
      case 2:
        corpus.push_back("Private message from " + nick + ": " + randomText(rng, length));
        break;
      case 3:
        corpus.push_back("[Server] Warning: " + randomText(rng, length));
        break;
      case 4:
        corpus.push_back(randomText(rng, length));
        break;
      default:
        corpus.push_back("<" + nick + "> " + randomText(rng, length));
        break;
    }
  }
  return corpus;
}

struct CompiledSet {
  std::vector<std::string> texts;  // the records point into these
  std::vector<RegExpr> records;

  CompiledSet() : texts(eventPatterns()), records(texts.size()) {
    for (size_t i = 0; i < texts.size(); ++i) {
      if (compileRegExpr(records[i], texts[i].c_str()) != 1 || records[i].error)
        std::fprintf(stderr, "pattern %s: %s\n", texts[i].c_str(), getRegExprError(records[i]));
    }
  }
  ~CompiledSet() {
    for (RegExpr& re : records) freeRegExpr(re);
  }
  // Index of the first pattern that matches, or -1.
  int firstMatch(const char* line) {
    for (size_t i = 0; i < records.size(); ++i)
      if (matchRegExpr(records[i], line) == 1) return int(i);
    return -1;
  }
};

void BM_MatchCorpus(benchmark::State& state) {
  CompiledSet set;
  const std::vector<std::string> corpus = chatCorpus(20000);
  size_t bytes = 0;
  for (const std::string& line : corpus) bytes += line.size();
  double worstSeconds = 0;
  long long matched = 0, lines = 0, allocations = 0;
  for (auto _ : state) {
    long long before = gAllocations.load();
    for (const std::string& line : corpus) {
      auto start = std::chrono::steady_clock::now();
      int hit = set.firstMatch(line.c_str());
      double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      worstSeconds = std::max(worstSeconds, seconds);
      matched += hit >= 0;
      benchmark::DoNotOptimize(hit);
    }
    allocations += gAllocations.load() - before;
    lines += corpus.size();
  }
  state.counters["lines/s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsRate);
  state.counters["worst_line_us"] = worstSeconds * 1e6;
  state.counters["matched_share"] = double(matched) / double(lines);
  state.counters["allocs_per_line"] = double(allocations) / double(lines);
  state.counters["patterns"] = double(set.records.size());
  state.counters["mean_line_bytes"] = double(bytes) / double(corpus.size());
}
BENCHMARK(BM_MatchCorpus)->Unit(benchmark::kMillisecond);

// The longest line the client receives, against every pattern.
void BM_LongestLine(benchmark::State& state) {
  CompiledSet set;
  std::mt19937 rng(7);
  const std::string line = "<someone> " + randomText(rng, 65523);
  for (auto _ : state) benchmark::DoNotOptimize(set.firstMatch(line.c_str()));
}
BENCHMARK(BM_LongestLine)->Unit(benchmark::kMillisecond);

void BM_CompileAll(benchmark::State& state) {
  const std::vector<std::string> texts = eventPatterns();
  RegExpr re;
  for (auto _ : state) {
    for (const std::string& t : texts) {
      benchmark::DoNotOptimize(compileRegExpr(re, t.c_str()));
      freeRegExpr(re);
    }
  }
  state.counters["patterns/s"] =
      benchmark::Counter(double(state.iterations() * texts.size()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CompileAll);

}  // namespace

BENCHMARK_MAIN();
