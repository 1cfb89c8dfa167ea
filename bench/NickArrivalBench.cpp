// Nick arrivals, headless: the local chat server tells one NevChat client that 10,000 users
// come in (the first argument changes the count) while this program runs the GUI thread's
// message loop. Prints how long the arrivals took, the CPU they cost, how long the GUI thread
// stayed away from its loop, and checks that completion knows every nick at the end.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/ChatBench.h"
#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/NicksWindow.h"

namespace {

using namespace chatbench;

const char kClient[] = "arrivals";

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::string nickOf(long i) {
  char nick[24];
  std::snprintf(nick, sizeof nick, "user%05ld", i % 100000);
  return nick;
}

// The number of blank-separated words.
long wordCount(const char* text) {
  long words = 0;
  for (const char* p = text; *p; ++p)
    if (*p != ' ' && (p == text || p[-1] == ' ')) ++words;
  return words;
}

}  // namespace

int main(int argc, char** argv) {
  long total = argc > 1 ? std::atol(argv[1]) : 10000;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TempFolder folder;
  ChatServer server;
  std::string previous = std::filesystem::current_path().string();
  Client* client = startLoggedInClient(server, folder, kClient);
  if (client == nullptr) return 1;
  auto* session = static_cast<NevChatSession*>(client->getMainRecord().session);
  NicksWindow* nicks = session->getNicks();
  std::string last = nickOf(total - 1);

  FloodRecord record(total / 4 > 0 ? total / 4 : 1);
  long before = client->getLineCount();
  double cpuStart = cpuSeconds();
  Clock::time_point start = Clock::now();
  std::thread feeder([&] {
    for (long i = 0; i < total; ++i)
      if (!server.inject(kClient, "--> " + nickOf(i) + " comes in\n")) return;
  });
  long done = 0;
  bool finished = false;
  StallWatch watch(30);
  while (!finished) {
    LoopStep step = runLoopStep();
    if (step.quit) break;
    long linesBefore = done;
    done = client->getLineCount() - before;
    record.add(step, linesBefore, done);
    if (done >= total) finished = nicks->contains(last.c_str());
    if (watch.stalled(done, step.got)) break;
  }
  double seconds = since(start);
  double cpu = cpuSeconds() - cpuStart;
  feeder.join();

  long completions = wordCount(session->getInput()->nickWords());
  std::printf("%s; %ld arrivals in %.2f s (CPU %.2f s); completion knows %ld nicks\n",
              finished ? "last nick listed" : "last nick NOT listed", total, seconds, cpu,
              completions);
  record.printSteps();
  record.printSlowestAndMemory("arrivals");

  shutDown();
  server.stop();
  std::filesystem::current_path(previous);
  return finished && completions >= total ? 0 : 1;
}
