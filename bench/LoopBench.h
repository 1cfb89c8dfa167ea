// What the line-path benchmarks share: the host started in its program folder with the one
// client "bench" connected to the loopback server that floods it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/LoopSteps.h"
#include "bench/ProcessMemory.h"

#include "host/Client.h"
#include "host/ClientList.h"
#include "host/Host.h"
#include "host/tests/e2e/LoopServer.h"
#include "platform/testing.h"
#include "platform/tests/TempFolder.h"
#include "platform/win32.h"

namespace loopbench {

// Moves into the folder and starts the host; the client once the server has its connection,
// or null after a line on stderr.
inline Client* startBenchClient(const TempFolder& folder, const LoopServer& server) {
  std::filesystem::current_path(folder.path());
  startUp(GetModuleHandleA(nullptr));
  Client* client = clientList != nullptr ? clientList->findClient("bench") : nullptr;
  if (client == nullptr || !vorntest::pumpUntil([&] { return server.hasClient(); }, 10000)) {
    std::fprintf(stderr, "the client did not connect\n");
    return nullptr;
  }
  vorntest::pumpFor(200);
  return client;
}

// What one flood measured.
struct FloodFigures {
  long done = 0;
  long total = 0;
  double seconds = 0;
  double megabytes = 0;
  long startResident = 0;
  std::vector<long> resident;  // at each quarter of the lines
  chatbench::StepTimes steps;
};

// The server sends text rounds times while this thread runs the message loop, until the client
// has counted total lines or none arrived for five seconds.
inline FloodFigures runFlood(Client* client, LoopServer& server, const std::string& text,
                             int rounds, long total) {
  FloodFigures f;
  f.total = total;
  f.megabytes = static_cast<double>(text.size()) * rounds / 1e6;
  f.startResident = statusField("VmRSS:");
  int before = client->getLineCount();
  std::thread feeder([&] {
    for (int i = 0; i < rounds; ++i) server.send(text);
  });
  long mark = total / 4;
  chatbench::Clock::time_point start = chatbench::Clock::now();
  chatbench::Clock::time_point lastProgress = start;
  while (f.done < total && chatbench::since(lastProgress) < 5.0) {
    chatbench::LoopStep step = chatbench::runLoopStep();
    if (step.quit) break;
    f.steps.add(step.seconds);
    long now = client->getLineCount() - before;
    if (now != f.done) lastProgress = chatbench::Clock::now();
    f.done = now;
    if (f.done >= mark) {
      f.resident.push_back(statusField("VmRSS:"));
      mark += total / 4;
    }
    if (!step.got) std::this_thread::yield();
  }
  f.seconds = chatbench::since(start);
  feeder.join();
  return f;
}

inline void printFlood(const FloodFigures& f) {
  std::printf("lines: %ld of %ld in %.2f s: %.0f lines/s (%.1f MB of text)\n", f.done, f.total,
              f.seconds, f.done / f.seconds, f.megabytes);
  std::printf("longest trip away from the message loop: %.1f ms (99%%: %.2f ms)\n",
              f.steps.longest() * 1e3, f.steps.percentile(0.99) * 1e3);
  std::printf("resident memory (kB): start %ld; each quarter:", f.startResident);
  for (long kb : f.resident) std::printf(" %ld", kb);
  std::printf("; end %ld\npeak resident memory: %ld kB\n", statusField("VmRSS:"),
              statusField("VmHWM:"));
}

// The whole line-path run: a program folder written for the server's port, the corpus sent
// rounds times (the first argument, 25 by default); 0 when every line arrived.
inline int runLinePathBench(int argc, char** argv, void (*writeFolder)(const TempFolder&, u_short),
                            std::string (*corpusText)(int* lineCount)) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 25;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TempFolder folder;
  LoopServer server;
  writeFolder(folder, server.port());
  std::string previous = std::filesystem::current_path().string();
  int perRound = 0;
  std::string text = corpusText(&perRound);
  long total = static_cast<long>(perRound) * rounds;
  Client* client = startBenchClient(folder, server);
  if (client == nullptr) return 1;
  FloodFigures figures = runFlood(client, server, text, rounds, total);
  printFlood(figures);
  shutDown();
  std::filesystem::current_path(previous);
  return figures.done >= total ? 0 : 1;
}

}  // namespace loopbench
