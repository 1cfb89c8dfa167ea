// Floods through the whole demo client, headless: NevChat with the five add-ins and the three
// filters, as scripts/run sets the demo up, logged in to the local chat server, which sends one
// kind of line as fast as the client takes it. For each kind it prints how long the GUI thread
// stayed away from its message loop (the longest trip and the 99th percentile) and how long the
// lines took. With no argument every kind runs in a process of its own; with a kind's name,
// only that one; a second argument scales the number of lines (1.0).
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "bench/ChatBench.h"
#include "host/tests/ChatFloodLines.h"

namespace {

using namespace chatbench;

const char kClient[] = "demo";
// The feeder stays at most so many lines ahead of the client: the test server drops a client
// with more than 16 MB waiting for it.
const long kAhead = 20000;
const long kPiece = 250;  // lines sent at once

std::string stamp(long i) {
  long second = 12 * 3600 + i / 200;
  char text[16];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld ", second / 3600 % 24, second / 60 % 60,
                second % 60);
  return text;
}

std::string tellLine(long i) {
  return stamp(i) + "pal" + std::to_string(i % 200) + " tells you: are you there? coffee later\n";
}
std::string wordLine(long i) { return stamp(i) + "<bob> who wants some cake tonight\n"; }
std::string startLine(long i) {
  return stamp(i) + "[data] peer" + std::to_string(i % 500) + " VREQ MINEDUEL START 2\n";
}
std::string segmentLine(long i) {
  int x = static_cast<int>(i * 37 % 600), y = static_cast<int>(i * 53 % 400);
  return stamp(i) + "[data] peer }l 0 " + std::to_string(x) + " " + std::to_string(y) + " " +
         std::to_string(x + 9) + " " + std::to_string(y + 7) + " 0\n";
}
std::string playLine(long i) {
  return stamp(i) + "[data] peer VREQ MINEDUEL PLAY " + std::to_string(i % 10) + " " +
         std::to_string(i / 10 % 10) + "\n";
}

struct Kind {
  const char* name;
  long lines;
  std::function<std::string(long)> line;
};

const Kind kKinds[] = {
    {"lines", 50000,
     [](long i) {
       static std::vector<std::string> lines = chatLines(50000);
       return lines[static_cast<size_t>(i) % lines.size()];
     }},
    {"tells", 10000, tellLine},
    {"words", 10000, wordLine},
    {"starts", 10000, startLine},
    {"segments", 100000, segmentLine},
    {"plays", 100000, playLine},
};

// The demo's program folder: every plug-in of the build's program folder, the events file, and
// the demo client as scripts/run writes it, with a watched word for vaware.
void writeDemoFolder(const TempFolder& folder, int port) {
  namespace fs = std::filesystem;
  fs::copy(VORNITH_RUN_PLUGINS, folder.file("Plugins"), fs::copy_options::recursive);
  fs::create_directories(folder.file("Events"));
  fs::copy_file(NEVCHAT_EVENTS_FILE, folder.file("Events/nevchat.evt"));
  folder.write("Vornith.ini",
               "[System]\nPlugins Directory=.\\Plugins\nEvents Directory=.\\Events\n[demo]\n"
               "Autoconnect=On\nServer0=127.0.0.1:" +
                   std::to_string(port) +
                   "\nRegExpr=nevchat.evt\nMain=NevChat\n"
                   "Addins=NevTell vfile MineDuel v2draw Vaware\n"
                   "Inout=NevLine NvtFilter NevTimeStamp\n");
  folder.write("Plugs.ini", "[demo]\nNevChat Login=demo\nVawareWord0=cake\n");
}

Client* startDemo(ChatServer& server, const TempFolder& folder) {
  if (!server.start()) {
    std::fprintf(stderr, "the chat server did not start: %s\n", server.error().c_str());
    return nullptr;
  }
  writeDemoFolder(folder, server.port());
  std::filesystem::current_path(folder.path());
  startUp(GetModuleHandleA(nullptr));
  Client* client = clientList != nullptr ? clientList->findClient(kClient) : nullptr;
  if (client == nullptr ||
      !vorntest::pumpUntil([&] { return server.isLoggedIn(kClient); }, 10000)) {
    std::fprintf(stderr, "the demo client did not log in\n");
    return nullptr;
  }
  vorntest::pumpFor(500);
  return client;
}

int runKind(const Kind& kind, double scale) {
  TempFolder folder;
  ChatServer server;
  Client* client = startDemo(server, folder);
  if (client == nullptr) return 1;
  long total = static_cast<long>(kind.lines * scale);
  HWND pane = outputPane(client);
  long before = client->getLineCount();
  std::atomic<long> done{0};
  std::atomic<bool> stop{false};
  Clock::time_point start = Clock::now();
  double fedAt = 0;
  std::thread feeder([&] {
    for (long i = 0; i < total && !stop.load(); i += kPiece) {
      while (i > done.load() + kAhead && !stop.load())
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      std::string piece;
      for (long j = i; j < std::min(total, i + kPiece); ++j) piece += kind.line(j);
      if (!server.inject(kClient, piece)) return;
    }
    server.inject(kClient, "13:00:00 <bob> " + std::string(kLastWords) + "\n");
    fedAt = since(start);
  });
  StepTimes steps;
  std::vector<SlowStep> slowest;
  slowest.reserve(8);
  bool finished = false;
  StallWatch watch(20);
  Clock::time_point lastLine = Clock::now();
  while (!finished) {
    LoopStep step = runLoopStep();
    if (step.quit) break;
    long linesBefore = done.load();
    long now = client->getLineCount() - before;
    done.store(now);
    steps.add(step.seconds);
    keepSlowest(slowest, {step.seconds, step.peekSeconds, step.message, linesBefore, now});
    if (now != linesBefore) lastLine = Clock::now();
    // The client's own answers (to START requests) can follow the last line: then three quiet
    // seconds after it end the flood.
    if (now > total) finished = showsLastLine(pane, kLastWords) || since(lastLine) > 3;
    if (watch.stalled(now, step.got)) break;
  }
  double seconds = since(start);
  stop.store(true);
  feeder.join();
  std::printf("== %s: %ld lines; %s after %.2f s (%.2f s after the last was sent)\n", kind.name,
              total, finished ? "all handled" : "NOT all handled", seconds, seconds - fedAt);
  std::printf("loop steps: %ld; longest %.1f ms; 99th percentile %.2f ms\n", steps.steps(),
              steps.longest() * 1e3, steps.percentile(0.99) * 1e3);
  std::printf("slowest steps (ms, of which in PeekMessageA; message; lines before-after):");
  for (const SlowStep& s : slowest)
    std::printf("  %.1f %.1f 0x%04x %ld-%ld", s.seconds * 1e3, s.peekSeconds * 1e3, s.message,
                s.linesBefore, s.linesAfter);
  std::printf("\nresident memory at the end: %ld kB; peak %ld kB\n", statusField("VmRSS:"),
              statusField("VmHWM:"));
  std::fflush(stdout);
  shutDown();
  server.stop();
  return finished ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  double scale = argc > 2 ? std::atof(argv[2]) : 1.0;
  if (argc > 1 && std::strcmp(argv[1], "all") != 0) {
    for (const Kind& kind : kKinds)
      if (std::strcmp(argv[1], kind.name) == 0) return runKind(kind, scale);
    std::fprintf(stderr, "no kind %s\n", argv[1]);
    return 2;
  }
  int failed = 0;
  for (const Kind& kind : kKinds) {
    std::string command = std::string(argv[0]) + " " + kind.name + " " + std::to_string(scale);
    if (std::system(command.c_str()) != 0) ++failed;
  }
  return failed == 0 ? 0 : 1;
}
