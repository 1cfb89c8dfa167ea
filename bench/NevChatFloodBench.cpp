// A flood into one chat window, headless: the local chat server sends chat lines as fast as it
// can to one client logged in with NevChat, while this program runs the GUI thread's message
// loop itself. Prints the lines shown per second, how long the GUI thread stayed away from its
// loop (longest and 99th percentile) and the resident memory every 10,000 lines.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/ChatBench.h"
#include "host/tests/ChatFloodLines.h"
#include "host/ClientList.h"
#include "host/Host.h"
#include "outside/chatserver/ChatServer.h"
#include "platform/testing.h"

namespace {

using namespace chatbench;

const char kClient[] = "flood";
const long kSampleEvery = 10000;

}  // namespace

int main(int argc, char** argv) {
  long total = argc > 1 ? std::atol(argv[1]) : 50000;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TempFolder folder;
  ChatServer server;
  std::string previous = std::filesystem::current_path().string();
  std::vector<std::string> lines = chatLines(total);
  size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size();
  Client* client = startLoggedInClient(server, folder, kClient);
  if (client == nullptr) return 1;
  HWND pane = outputPane(client);
  long before = client->getLineCount();
  long paneLinesBefore = paneMessage(pane, EM_GETLINECOUNT);

  FloodRecord record(kSampleEvery);
  StepTimes busySteps;  // the steps that showed at least one line
  long scrollingFrom = -1;

  Clock::time_point start = Clock::now();
  std::thread feeder([&] {
    for (const std::string& line : lines)
      if (!server.inject(kClient, line)) return;
  });
  long done = 0;
  bool finished = false;
  StallWatch watch(10);  // nothing new for ten seconds: the flood stalled
  while (!finished) {
    LoopStep step = runLoopStep();
    if (step.quit) break;
    long linesBefore = done;
    done = client->getLineCount() - before;
    if (done > linesBefore) busySteps.add(step.seconds);
    record.add(step, linesBefore, done);
    if (scrollingFrom < 0 && paneMessage(pane, EM_GETFIRSTVISIBLELINE) > 0) scrollingFrom = done;
    if (done >= total) finished = showsLastLine(pane, kLastWords);
    if (watch.stalled(done, step.got)) break;
  }
  double seconds = since(start);
  feeder.join();

  std::printf("%s; ", finished ? "last line shown" : "last line NOT shown");
  std::printf("%ld lines (%.1f MB) in %.2f s: %.0f lines/s; line counter %ld\n", total, bytes / 1e6,
              seconds, total / seconds, done);
  std::printf("pane lines: %ld (before the flood %ld); pane scrolling from line %ld\n",
              paneMessage(pane, EM_GETLINECOUNT), paneLinesBefore, scrollingFrom);
  record.printSteps();
  std::printf("steps that showed lines: %ld; longest %.1f ms; 99th percentile %.2f ms\n",
              busySteps.steps(), busySteps.longest() * 1e3, busySteps.percentile(0.99) * 1e3);
  record.printSlowestAndMemory("lines");

  shutDown();
  server.stop();
  std::filesystem::current_path(previous);
  return finished ? 0 : 1;
}
