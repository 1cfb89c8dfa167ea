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
#include "host/ClientList.h"
#include "host/Host.h"
#include "outside/chatserver/ChatServer.h"
#include "platform/testing.h"

namespace {

using namespace chatbench;

const char kClient[] = "flood";
const long kSampleEvery = 10000;
// The last line of the flood: the pane's last line shows it once everything arrived.
const char kLastWords[] = "that was the flood";

// Chat lines as the server relays them: a stamp, bob's nick and 1 to 40 words, an emoticon in
// about one line of eight. Fixed seed, so every run sends the same bytes.
std::vector<std::string> chatLines(long count) {
  static const char* const words[] = {
      "the",    "server",     "is",     "fast", "tonight",    "who",   "wants",
      "coffee", "a",          "really", "long", "discussion", "about", "nothing",
      "in",     "particular", "ok",     "lol",  "brb",        "see",   "you",
      "later",  "channel",    "topic",  "yes",  "no",         "maybe"};
  static const char* const emoticons[] = {":)", ";)", ":D", ":P", ":(", ":-)", ":o", ":S"};
  std::mt19937 random(20240611);
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(count));
  for (long i = 0; i < count; ++i) {
    long second = 12 * 3600 + i / 200;  // about 200 lines a second of chat time
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02ld:%02ld:%02ld <bob> ", second / 3600 % 24,
                  second / 60 % 60, second % 60);
    std::string line = stamp;
    int wordCount = 1 + static_cast<int>(random() % 40);
    for (int w = 0; w < wordCount; ++w) {
      if (w > 0) line += ' ';
      line += words[random() % (sizeof words / sizeof *words)];
      if (random() % 64 == 0) line += std::string(" ") + emoticons[random() % 8];
    }
    if (random() % 8 == 0) line += std::string(" ") + emoticons[random() % 8];
    lines.push_back(line + "\n");
  }
  if (!lines.empty()) lines.back() = "13:00:00 <bob> " + std::string(kLastWords) + "\n";
  return lines;
}

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
