// Many correspondents, headless, in the whole host with one client of the local chat server:
// one tell (or one whiteboard segment) from each of many distinct nicks, sent as fast as the
// server can, while this program runs the GUI thread's message loop itself. Prints how long
// the GUI thread stayed away from its loop, the resident memory, and the tabs or boards opened.
// Arguments: "tells" or "segments", and the number of nicks (2,000).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/ChatBench.h"
#include "plugins/NevTell/NevTellSession.h"
#include "plugins/v2draw/DrawSession.h"

namespace {

using namespace chatbench;

const char kClient[] = "busy";
const long kSampleEvery = 500;

std::string stampOf(long i) {
  long second = 12 * 3600 + i / 500;
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%02ld:%02ld:%02ld ", second / 3600 % 24, second / 60 % 60,
                second % 60);
  return stamp;
}

std::vector<std::string> linesFrom(long nicks, bool segments) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(nicks));
  for (long i = 0; i < nicks; ++i) {
    std::string nick = "nick" + std::to_string(i);
    if (segments)
      lines.push_back(stampOf(i) + "[data] " + nick + " }l 0 10 10 60 40 0\n");
    else
      lines.push_back(stampOf(i) + nick + " tells you: hello there, are you around?\n");
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  bool segments = argc > 1 && std::strcmp(argv[1], "segments") == 0;
  long nicks = argc > 2 ? std::max(1L, std::atol(argv[2])) : 2000;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TempFolder folder;
  ChatServer server;
  std::string previous = std::filesystem::current_path().string();
  std::vector<std::string> lines = linesFrom(nicks, segments);
  const AddinModule tell = {NEVTELL_MODULE, "NevTell"};
  const AddinModule draw = {V2DRAW_MODULE, "v2draw"};
  Client* client = startLoggedInClient(server, folder, kClient, segments ? &draw : &tell);
  PlugsObject* addin = client != nullptr ? firstAddin<PlugsObject>(client) : nullptr;
  if (addin == nullptr) {
    std::fprintf(stderr, "the client with its add-in did not log in\n");
    return 1;
  }
  long residentBefore = statusField("VmRSS:");
  long before = client->getLineCount();
  FloodRecord record(kSampleEvery);

  Clock::time_point start = Clock::now();
  std::thread feeder([&] {
    for (const std::string& line : lines)
      if (!server.inject(kClient, line)) return;
  });
  long done = 0;
  StallWatch watch(20);
  while (done < nicks) {
    LoopStep step = runLoopStep();
    if (step.quit) break;
    long linesBefore = done;
    done = client->getLineCount() - before;
    record.add(step, linesBefore, done);
    if (watch.stalled(done, step.got)) break;
  }
  // What the last lines left behind (deferred work, repaints) counts too.
  Clock::time_point drain = Clock::now();
  while (since(drain) < 0.5) {
    LoopStep step = runLoopStep();
    record.add(step, done, done);
    if (!step.got) std::this_thread::yield();
  }
  double seconds = since(start);
  feeder.join();

  int opened = segments ? static_cast<DrawSession*>(addin)->boardCount()
                        : static_cast<NevTellSession*>(addin)->tabCount();
  std::printf("%ld %s from %ld nicks: %ld lines handled in %.2f s\n", nicks,
              segments ? "segments" : "tells", nicks, done, seconds);
  std::printf("%s open: %d; resident memory before the flood: %ld kB, after: %ld kB\n",
              segments ? "boards" : "tell tabs", opened, residentBefore, statusField("VmRSS:"));
  record.printSteps();
  record.printSlowestAndMemory("lines");

  shutDown();
  server.stop();
  std::filesystem::current_path(previous);
  return done >= nicks ? 0 : 1;
}
