// What a hostile peer sends into one chat window, headless, through the local chat server:
// lines full of emoticons, long lines and a stream without a line feed. For each scenario it
// prints how long the GUI thread stayed away from its message loop (the longest trips), whether
// the last line was shown, the pictures and lines in the pane and the resident memory at the
// end. With no argument every scenario runs in a process of its own; with a scenario's name,
// only that one.
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "bench/ChatBench.h"
#include "bench/ProcessMemory.h"
#include "host/ClientList.h"
#include "host/Host.h"
#include "outside/chatserver/ChatServer.h"
#include "platform/testing.h"
#include "platform/win32_ole.h"

namespace {

using namespace chatbench;

const char kClient[] = "target";
const char kLastWords[] = "that was the flood";
// The feeder stays at most so many pieces ahead of the lines shown: the test server drops a
// client with more than 16 MB waiting for it.
const long kAhead = 32;

std::string repeated(const std::string& unit, size_t times) {
  std::string out;
  out.reserve(unit.size() * times);
  for (size_t i = 0; i < times; ++i) out += unit;
  return out;
}

std::string chatLine(const std::string& text) { return "12:00:00 <bob> " + text + "\n"; }

// Plain words, about bytes long, no line feed.
std::string words(size_t bytes) {
  static const char* const pool[] = {"long", "plain", "text", "from", "a", "peer", "again"};
  std::string out;
  out.reserve(bytes + 8);
  for (size_t i = 0; out.size() < bytes; ++i) {
    out += pool[i % 7];
    out += ' ';
  }
  return out;
}

// What a scenario sends: its distinct pieces, and their order by index (the long scenarios
// repeat a few pieces rather than hold hundreds of megabytes in this process).
struct Flood {
  std::vector<std::string> pieces;
  std::vector<size_t> order;
  void add(const std::string& piece, size_t times) {
    pieces.push_back(piece);
    order.insert(order.end(), times, pieces.size() - 1);
  }
};

struct Scenario {
  const char* name;
  Flood (*flood)();
  long lines;     // lines the client counts at least
  long perPiece;  // lines the client counts for each piece sent
};

Flood smileys(size_t lines, size_t perLine) {
  Flood flood;
  flood.add(chatLine(repeated(":)", perLine)), lines);
  return flood;
}

Flood smileys600() { return smileys(100, 600); }
Flood smileys500() { return smileys(200, 500); }

Flood mixed() {
  Flood flood;
  for (int i = 0; i < 40; ++i) flood.add(chatLine(words(static_cast<size_t>(8000 + 1000 * i))), 1);
  flood.add(chatLine(repeated(":)", 2000)), 1);
  flood.add(chatLine(words(30000)), 40);
  return flood;
}

// 16 MB without a line feed, sent in 64 KB pieces.
Flood stream() {
  Flood flood;
  flood.add("12:00:00 <bob> ", 1);
  flood.add(words(65536), (16u << 20) / 65536);
  return flood;
}

Flood longLines() {
  Flood flood;
  flood.add(chatLine(words(65536 - 16)), 2000);
  return flood;
}

const Scenario kScenarios[] = {
    {"smileys600", smileys600, 100, 1}, {"smileys500", smileys500, 200, 1},
    {"mixed", mixed, 81, 1},            {"stream", stream, 256, 1},
    {"long", longLines, 2000, 2},  // a line longer than a received chunk counts twice
};

LONG picturesInserted(HWND pane) {
  IRichEditOle* ole = nullptr;
  SendMessageA(pane, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole));
  if (ole == nullptr) return -1;
  LONG count = ole->GetObjectCount();
  ole->Release();
  return count;
}

// Paragraphs of the pane that hold one of bob's lines.
long linesOfBob(HWND pane) {
  long length = paneMessage(pane, WM_GETTEXTLENGTH);
  std::string text(static_cast<size_t>(std::max(0L, length)) + 1, '\0');
  SendMessageA(pane, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  long count = 0;
  for (size_t at = text.find("<bob> "); at != std::string::npos; at = text.find("<bob> ", at + 1))
    ++count;
  return count;
}

int runScenario(const Scenario& scenario) {
  TempFolder folder;
  ChatServer server;
  Flood flood = scenario.flood();
  flood.add("\n13:00:00 <bob> " + std::string(kLastWords) + "\n", 1);
  size_t bytes = 0;
  for (size_t index : flood.order) bytes += flood.pieces[index].size();
  Client* client = startLoggedInClient(server, folder, kClient);
  if (client == nullptr) return 1;
  HWND pane = outputPane(client);
  long before = client->getLineCount();
  LONG picturesBefore = picturesInserted(pane);

  StepTimes steps;
  std::vector<SlowStep> slowest;
  slowest.reserve(8);
  Clock::time_point start = Clock::now();
  std::atomic<long> shown{0};
  std::atomic<bool> stop{false};
  std::thread feeder([&] {
    for (size_t i = 0; i < flood.order.size(); ++i) {
      while (static_cast<long>(i) > shown.load() / scenario.perPiece + kAhead && !stop.load())
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      if (stop.load() || !server.inject(kClient, flood.pieces[flood.order[i]])) return;
    }
  });
  bool finished = false;
  long done = 0;
  Clock::time_point lastProgress = start;
  while (!finished && since(lastProgress) < 20) {
    LoopStep step = runLoopStep();
    if (step.quit) break;
    bool got = step.got;
    steps.add(step.seconds);
    long linesBefore = done;
    done = client->getLineCount() - before;
    shown.store(done);
    keepSlowest(slowest, {step.seconds, 0, step.message, linesBefore, done});
    if (done != linesBefore) lastProgress = Clock::now();
    if (done > scenario.lines) finished = showsLastLine(pane, kLastWords);
    if (!got) std::this_thread::yield();
  }
  double seconds = since(start);
  stop.store(true);
  feeder.join();

  std::printf("== %s: %.1f MB sent; %s after %.2f s; line counter %ld\n", scenario.name,
              bytes / 1e6, finished ? "last line shown" : "last line NOT shown", seconds, done);
  std::printf("loop steps: %ld; longest %.1f ms; 99th percentile %.2f ms\n", steps.steps(),
              steps.longest() * 1e3, steps.percentile(0.99) * 1e3);
  std::printf("slowest steps (ms; message; lines before and after):");
  for (const SlowStep& s : slowest)
    std::printf("  %.1f 0x%04x %ld-%ld", s.seconds * 1e3, s.message, s.linesBefore, s.linesAfter);
  std::printf("\npane: %ld bytes, %ld of bob's lines, %ld pictures inserted\n",
              paneMessage(pane, WM_GETTEXTLENGTH), linesOfBob(pane),
              static_cast<long>(picturesInserted(pane) - picturesBefore));
  std::printf("resident memory at the end: %ld kB; peak %ld kB\n", statusField("VmRSS:"),
              statusField("VmHWM:"));
  std::fflush(stdout);
  shutDown();
  server.stop();
  return finished ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (argc > 1) {
    for (const Scenario& scenario : kScenarios)
      if (std::strcmp(argv[1], scenario.name) == 0) return runScenario(scenario);
    std::fprintf(stderr, "no scenario %s\n", argv[1]);
    return 2;
  }
  int failed = 0;
  for (const Scenario& scenario : kScenarios) {
    std::string command = std::string(argv[0]) + " " + scenario.name;
    if (std::system(command.c_str()) != 0) ++failed;
  }
  return failed == 0 ? 0 : 1;
}
