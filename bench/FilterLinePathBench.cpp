// The host's line path with the three in/out filters switched on for the client (NevLine,
// NvtFilter, NevTimeStamp), headless: a loopback server floods the client with stamped chat
// lines in chunks the connection cuts where it likes, with doubled 255 bytes, echo
// negotiation and a bell now and then; the events file is NevChat's and the main plug-in does
// nothing. Prints lines per second, the longest trip away from the message loop and the
// resident memory at start, along the way and at the end.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/ChatBench.h"
#include "bench/LoopBench.h"
#include "bench/ProcessMemory.h"
#include "host/tests/EventCorpus.h"
#include "host/tests/e2e/LoopServer.h"

namespace {

const char* const kFilters[] = {NEVLINE_MODULE, NVTFILTER_MODULE, NEVTIMESTAMP_MODULE};

// Every line of the corpus behind a server stamp, some with telnet bytes or a bell; the number
// of lines the client sees is the number of line feeds.
std::string corpusText(int* lineCount) {
  std::string text;
  int index = 0;
  for (std::string line : EventCorpus(20241209).lines(20000)) {
    ++index;
    if (index % 50 == 0) line.insert(0, "\xFF\xFF");
    if (index % 100 == 0) line.insert(0, "\xFF\xFB\x01");
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02i:%02i:%02i ", index / 3600 % 24, index / 60 % 60,
                  index % 60);
    line.insert(0, stamp);
    if (index % 2000 == 0) line.insert(0, "\a");
    text += line;
  }
  *lineCount = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  return text;
}

void writeFolder(const TempFolder& folder, u_short port) {
  namespace fs = std::filesystem;
  fs::create_directories(folder.file("Plugins"));
  fs::create_directories(folder.file("Events"));
  fs::copy_file(std::string(BENCH_PLUGINS_DIR) + "/QuietMain.vma",
                folder.file("Plugins/QuietMain.vma"));
  for (const char* module : kFilters)
    fs::copy_file(module, folder.file("Plugins/") + fs::path(module).filename().string());
  fs::copy_file(NEVCHAT_EVENTS_FILE, folder.file("Events/nevchat.evt"));
  folder.write("Vornith.ini",
               "[System]\nPlugins Directory=.\\Plugins\nEvents Directory=.\\Events\n"
               "[bench]\nAutoconnect=On\nServer0=127.0.0.1:" + std::to_string(port) +
                   "\nRegExpr=nevchat.evt\nMain=QuietMain\nInout=NevLine NvtFilter NevTimeStamp\n");
  folder.write("Plugs.ini", "[bench]\nNevTimeStamp State=1\nNevLine Tab2Space=1\n");
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 25;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TempFolder folder;
  LoopServer server;
  writeFolder(folder, server.port());
  std::string previous = std::filesystem::current_path().string();

  int perRound = 0;
  std::string text = corpusText(&perRound);
  long total = static_cast<long>(perRound) * rounds;

  Client* client = loopbench::startBenchClient(folder, server);
  if (client == nullptr) return 1;
  long startResident = statusField("VmRSS:");
  int before = client->getLineCount();
  std::thread feeder([&] {
    for (int i = 0; i < rounds; ++i) server.send(text);
  });
  chatbench::StepTimes steps;
  std::vector<long> resident;
  long mark = total / 4;
  chatbench::Clock::time_point start = chatbench::Clock::now();
  chatbench::Clock::time_point lastProgress = start;
  long done = 0;
  // Stops early when no line arrives for five seconds.
  while (done < total && chatbench::since(lastProgress) < 5.0) {
    chatbench::LoopStep step = chatbench::runLoopStep();
    if (step.quit) break;
    steps.add(step.seconds);
    long now = client->getLineCount() - before;
    if (now != done) lastProgress = chatbench::Clock::now();
    done = now;
    if (done >= mark) {
      resident.push_back(statusField("VmRSS:"));
      mark += total / 4;
    }
    if (!step.got) std::this_thread::yield();
  }
  double seconds = chatbench::since(start);
  feeder.join();

  std::printf("lines: %ld of %ld in %.2f s: %.0f lines/s (%.1f MB of text)\n", done, total, seconds,
              done / seconds, text.size() * rounds / 1e6);
  std::printf("longest trip away from the message loop: %.1f ms (99%%: %.2f ms)\n",
              steps.longest() * 1e3, steps.percentile(0.99) * 1e3);
  std::printf("resident memory (kB): start %ld; each quarter:", startResident);
  for (long kb : resident) std::printf(" %ld", kb);
  std::printf("; end %ld\npeak resident memory: %ld kB\n", statusField("VmRSS:"),
              statusField("VmHWM:"));

  shutDown();
  std::filesystem::current_path(previous);
  return done >= total ? 0 : 1;
}
