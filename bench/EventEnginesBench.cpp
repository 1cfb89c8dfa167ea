// Our pattern engine (through EventList::match, first match wins, as the host calls it)
// against PCRE2 with its JIT (one shared match data, pcre2_jit_match) on the same events and
// lines. Every line is first checked to give the same event and named captures in both; a
// difference stops the program. Then prints lines per second, the slowest line and the ratio.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "host/tests/ChatFloodLines.h"
#include "bench/RegExprToPcre.h"
#include "host/EventList.h"
#include "host/EventsFile.h"
#include "host/tests/EventCorpus.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct PcreEvent {
  const char* name;
  pcre2_code* code;
  std::vector<int> groups;  // PCRE2 group of each named save, in our order
};

// One events file loaded into both engines.
class Engines {
 public:
  // The JIT's default 32 KB stack is too small for the long lines: it gets 16 MB.
  Engines() : ours_(nullptr) {
    matchData_ = pcre2_match_data_create(64, nullptr);
    jitStack_ = pcre2_jit_stack_create(32 * 1024, 16 * 1024 * 1024, nullptr);
    context_ = pcre2_match_context_create(nullptr);
    pcre2_jit_stack_assign(context_, nullptr, jitStack_);
  }
  ~Engines() {
    for (PcreEvent& e : pcre_) pcre2_code_free(e.code);
    pcre2_match_data_free(matchData_);
    pcre2_match_context_free(context_);
    pcre2_jit_stack_free(jitStack_);
  }

  bool load(const std::string& path) {
    if (!loadEventsFile(ours_, path.c_str())) return false;
    RegExprToPcre translator;
    for (int i = 0; i < ours_.count(); ++i) {
      const EventEntry* entry = ours_.entryAt(i);
      if (!translator.translate(entry->pattern)) {
        std::fprintf(stderr, "no PCRE2 form for %s (%s): %s\n", entry->name,
                     translator.why().c_str(), entry->pattern);
        return false;
      }
      int error = 0;
      PCRE2_SIZE offset = 0;
      const std::string& text = translator.result();
      pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(text.c_str()), text.size(),
                                       PCRE2_DOTALL | PCRE2_MULTILINE | PCRE2_ALT_CIRCUMFLEX,
                                       &error, &offset, nullptr);
      if (!code || pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) != 0) {
        std::fprintf(stderr, "PCRE2 refuses %s: %s\n", entry->name, text.c_str());
        return false;
      }
      pcre_.push_back({entry->name, code, translator.namedGroups()});
    }
    return true;
  }

  int count() const { return ours_.count(); }

  const char* matchOurs(const std::string& line) { return ours_.match(line.c_str(), record_); }

  // The first event that matches, or null; its captures are then in the match data.
  const PcreEvent* matchPcre(const std::string& line) {
    PCRE2_SPTR subject = reinterpret_cast<PCRE2_SPTR>(line.c_str());
    for (const PcreEvent& e : pcre_) {
      int rc = pcre2_jit_match(e.code, subject, line.size(), 0, 0, matchData_, context_);
      if (rc < PCRE2_ERROR_NOMATCH) failures_++;
      if (rc > 0) {
        PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(matchData_);
        for (size_t i = 0; i < e.groups.size() && i < kMaxCaptures; ++i)
          captures_[i] = ovector[2 * e.groups[i]];
        return &e;
      }
    }
    return nullptr;
  }

  // Empty when both engines agree on the line, else what differs.
  std::string compare(const std::string& line) {
    const char* ours = matchOurs(line);
    failures_ = 0;
    const PcreEvent* theirs = matchPcre(line);
    if (failures_) return "PCRE2 gave up on the line";
    std::string theirName = theirs ? theirs->name : "[Unknown]";
    if (theirName != ours) return "event " + std::string(ours) + " vs " + theirName;
    if (!theirs) return "";
    if (static_cast<size_t>(record_.count) != theirs->groups.size()) return "capture count";
    PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(matchData_);
    for (int i = 0; i < record_.count; ++i) {
      int g = theirs->groups[static_cast<size_t>(i)];
      std::string value;
      if (ovector[2 * g] != PCRE2_UNSET)
        value = line.substr(ovector[2 * g], ovector[2 * g + 1] - ovector[2 * g]);
      if (value != record_.vars[2 * i + 1])
        return std::string("capture ") + record_.vars[2 * i] + ": '" + record_.vars[2 * i + 1] +
               "' vs '" + value + "'";
    }
    return "";
  }

 private:
  static constexpr size_t kMaxCaptures = 16;
  EventList ours_;
  EventRecord record_;
  std::vector<PcreEvent> pcre_;
  pcre2_match_data* matchData_;
  pcre2_jit_stack* jitStack_;
  pcre2_match_context* context_;
  PCRE2_SIZE captures_[kMaxCaptures] = {};
  int failures_ = 0;  // matches that ended in an error (a limit) rather than an answer
};

struct Figures {
  double linesPerSecond = 0;
  double worstMs = 0;
};

// Best of several passes over the lines (at least one, about a third of a second in all).
template <class Match>
double linesPerSecond(const std::vector<std::string>& lines, Match match) {
  double best = 1e300;
  double total = 0;
  for (int pass = 0; pass < 20 && (pass < 2 || total < 300); ++pass) {
    Clock::time_point start = Clock::now();
    for (const std::string& line : lines) match(line);
    double ms = msSince(start);
    best = std::min(best, ms);
    total += ms;
  }
  return static_cast<double>(lines.size()) / (best / 1000);
}

// The slowest line, each line taken at its best of three so that a preempted run does not
// count as the engine's.
template <class Match>
double worstLine(const std::vector<std::string>& lines, Match match) {
  double worst = 0;
  for (const std::string& line : lines) {
    double best = 1e300;
    for (int round = 0; round < 3; ++round) {
      Clock::time_point start = Clock::now();
      match(line);
      best = std::min(best, msSince(start));
    }
    worst = std::max(worst, best);
  }
  return worst;
}

bool runCase(const char* title, const std::string& eventsPath,
             const std::vector<std::string>& lines) {
  Engines engines;
  if (!engines.load(eventsPath)) return false;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string difference = engines.compare(lines[i]);
    if (!difference.empty()) {
      std::fprintf(stderr, "%s: line %zu differs (%s): %.200s\n", title, i, difference.c_str(),
                   lines[i].c_str());
      return false;
    }
  }
  Figures ours, jit;
  auto matchOurs = [&](const std::string& line) { engines.matchOurs(line); };
  auto matchJit = [&](const std::string& line) { engines.matchPcre(line); };
  ours.linesPerSecond = linesPerSecond(lines, matchOurs);
  jit.linesPerSecond = linesPerSecond(lines, matchJit);
  ours.worstMs = worstLine(lines, matchOurs);
  jit.worstMs = worstLine(lines, matchJit);
  std::printf("%-34s %5d %6zu %12.0f %12.0f %7.2f %9.3f %9.3f\n", title, engines.count(),
              lines.size(), ours.linesPerSecond, jit.linesPerSecond,
              ours.linesPerSecond / jit.linesPerSecond, ours.worstMs, jit.worstMs);
  std::fflush(stdout);
  return true;
}

// An events file of count events in the default file's style (its variables, a stamp, the
// server's "<Nev> " and nicks), none of which the flood's chat lines match.
std::string generatedEvents(int count) {
  static const char* const shapes[] = {
      "T + NEV + N + \" %s the channel (/w+):(channel)\" + B",
      "T + \"You %s \" + N + B",
      "T + \"--> \" + N + \" %s in\"",
      "T + N + \" %s you/: \" + TEXT",
      "D + \"/[%s/]/[(/d+):(id)/]\" + TEXT",
  };
  std::string path = "/tmp/EventEnginesBench-" + std::to_string(count) + ".evt";
  std::ofstream file(path);
  std::ifstream defaults(NEVCHAT_EVENTS_FILE);
  std::string row;
  while (std::getline(defaults, row) && row != "[EVENTS]") file << row << "\n";
  file << "[EVENTS]\n";
  for (int i = 0; i < count; ++i) {
    std::string word = "zq";
    for (int n = i; n > 0; n /= 26) word += static_cast<char>('a' + n % 26);
    char definition[160];
    std::snprintf(definition, sizeof definition, shapes[i % 5], word.c_str());
    file << "e" << i << " = " << definition << "\n";
  }
  return path;
}

}  // namespace

int main() {
  std::vector<std::string> corpus = EventCorpus(20240605).lines(20000);
  std::vector<std::string> flood = chatbench::chatLines(20000);
  std::string defaults = NEVCHAT_EVENTS_FILE;
  std::string chatEvents = std::string(VORNITH_BENCH_DIR) + "/chat.events";
  std::printf("%-34s %5s %6s %12s %12s %7s %9s %9s\n", "events x lines", "evts", "lines", "ours/s",
              "jit/s", "ratio", "worst", "jit worst");
  bool ok = runCase("nevchat.evt x EventListBench", defaults, corpus) &&
            runCase("nevchat.evt x NevChatFloodBench", defaults, flood) &&
            runCase("chat.events x EventListBench", chatEvents, corpus);
  for (int count : {60, 1000, 5000}) {
    if (!ok) break;
    size_t lineCount = static_cast<size_t>(std::clamp(2000000 / count, 1000, 20000));
    std::vector<std::string> lines(flood.begin(), flood.begin() + static_cast<long>(lineCount));
    std::string title = "generated " + std::to_string(count) + " x NevChatFloodBench";
    ok = runCase(title.c_str(), generatedEvents(count), lines);
  }
  return ok ? 0 : 1;
}
