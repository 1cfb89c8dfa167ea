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
#include "bench/ProcessMemory.h"
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

  StepTimes steps;
  StepTimes busySteps;  // the steps that showed at least one line
  std::vector<SlowStep> slowest;
  slowest.reserve(8);
  std::vector<long> resident;
  std::vector<long> residentAt;
  resident.reserve(64);
  residentAt.reserve(64);
  long scrollingFrom = -1;
  long nextSample = kSampleEvery;

  Clock::time_point start = Clock::now();
  std::thread feeder([&] {
    for (const std::string& line : lines)
      if (!server.inject(kClient, line)) return;
  });
  long done = 0;
  long lastDone = -1;
  bool finished = false;
  Clock::time_point lastProgress = start;
  while (!finished) {
    LoopStep step = runLoopStep();
    if (step.quit) break;
    bool got = step.got;
    steps.add(step.seconds);
    long linesBefore = done;
    done = client->getLineCount() - before;
    if (done > linesBefore) busySteps.add(step.seconds);
    keepSlowest(slowest, {step.seconds, step.peekSeconds, step.message, linesBefore, done});
    if (scrollingFrom < 0 && paneMessage(pane, EM_GETFIRSTVISIBLELINE) > 0) scrollingFrom = done;
    if (done >= nextSample) {
      resident.push_back(statusField("VmRSS:"));
      residentAt.push_back(done);
      nextSample += kSampleEvery;
    }
    if (done >= total) finished = showsLastLine(pane, kLastWords);
    if (done != lastDone) {
      lastDone = done;
      lastProgress = Clock::now();
    } else if (since(lastProgress) > 10) {
      break;  // nothing new for ten seconds: the flood stalled
    } else if (!got) {
      std::this_thread::yield();
    }
  }
  double seconds = since(start);
  feeder.join();

  std::printf("%s; ", finished ? "last line shown" : "last line NOT shown");
  std::printf("%ld lines (%.1f MB) in %.2f s: %.0f lines/s; line counter %ld\n", total, bytes / 1e6,
              seconds, total / seconds, done);
  std::printf("pane lines: %ld (before the flood %ld); pane scrolling from line %ld\n",
              paneMessage(pane, EM_GETLINECOUNT), paneLinesBefore, scrollingFrom);
  std::printf("loop steps: %ld; longest %.1f ms; 99th percentile %.2f ms\n", steps.steps(),
              steps.longest() * 1e3, steps.percentile(0.99) * 1e3);
  std::printf("steps that showed lines: %ld; longest %.1f ms; 99th percentile %.2f ms\n",
              busySteps.steps(), busySteps.longest() * 1e3, busySteps.percentile(0.99) * 1e3);
  std::printf("slowest steps (ms, of which in PeekMessageA; message; lines before and after):\n");
  for (const SlowStep& s : slowest)
    std::printf("  %.1f  %.1f  0x%04x  %ld  %ld\n", s.seconds * 1e3, s.peekSeconds * 1e3, s.message,
                s.linesBefore, s.linesAfter);
  std::printf("resident memory (kB) at lines:");
  for (size_t i = 0; i < resident.size(); ++i) std::printf(" %ld:%ld", residentAt[i], resident[i]);
  std::printf("\npeak resident memory: %ld kB\n", statusField("VmHWM:"));

  shutDown();
  server.stop();
  std::filesystem::current_path(previous);
  return finished ? 0 : 1;
}
