// The host's line path end to end, headless: a loopback server floods one client with a
// fixed-seed corpus; lines go through an in/out plug-in that changes nothing, the sample events
// file and a main plug-in that does nothing, with the client's log on. Prints lines per second
// and the memory used along the way.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "host/Client.h"
#include "host/ClientList.h"
#include "bench/LoopBench.h"
#include "bench/ProcessMemory.h"
#include "host/Host.h"
#include "host/tests/EventCorpus.h"
#include "host/tests/e2e/LoopServer.h"
#include "platform/testing.h"
#include "platform/tests/TempFolder.h"

namespace {

// The corpus and the number of lines the client sees at least: one per line feed (a prompt
// without one joins the line after it; a chunk boundary can only add lines).
std::string corpusText(int* lineCount) {
  std::string text;
  for (const std::string& line : EventCorpus(20240605).lines(20000)) text += line;
  *lineCount = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  return text;
}

void writeFolder(const TempFolder& folder, u_short port) {
  namespace fs = std::filesystem;
  fs::create_directories(folder.file("Plugins"));
  fs::create_directories(folder.file("Events"));
  for (const char* plugin : {"QuietMain.vma", "QuietInout.vio"})
    fs::copy_file(std::string(BENCH_PLUGINS_DIR) + "/" + plugin, folder.file("Plugins/") + plugin);
  fs::copy_file(std::string(VORNITH_BENCH_DIR) + "/chat.events", folder.file("Events/chat.events"));
  folder.write("Vornith.ini",
               "[System]\nPlugins Directory=.\\Plugins\nEvents Directory=.\\Events\n"
               "[bench]\nAutoconnect=On\nServer0=127.0.0.1:" +
                   std::to_string(port) +
                   "\nRegExpr=chat.events\nMain=QuietMain\nInout=QuietInout\n");
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
  int before = client->getLineCount();
  std::thread feeder([&] {
    for (int i = 0; i < rounds; ++i) server.send(text);
  });
  auto start = std::chrono::steady_clock::now();
  std::vector<long> resident;
  long mark = total / 4;
  // Stops early when no line arrives for five seconds.
  long lastDone = -1;
  auto lastProgress = std::chrono::steady_clock::now();
  vorntest::pumpUntil(
      [&] {
        long done = client->getLineCount() - before;
        auto now = std::chrono::steady_clock::now();
        if (done != lastDone) {
          lastDone = done;
          lastProgress = now;
        } else if (now - lastProgress > std::chrono::seconds(5)) {
          return true;
        }
        if (done >= mark) {
          resident.push_back(statusField("VmRSS:"));
          mark += total / 4;
        }
        return done >= total;
      },
      600000);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  long done = client->getLineCount() - before;
  feeder.join();

  std::printf("lines: %ld of %ld in %.2f s: %.0f lines/s (%.1f MB of text)\n", done, total, seconds,
              done / seconds, text.size() * rounds / 1e6);
  std::printf("resident memory at each quarter (kB):");
  for (long kb : resident) std::printf(" %ld", kb);
  std::printf("\npeak resident memory: %ld kB\n", statusField("VmHWM:"));

  shutDown();
  std::filesystem::current_path(previous);
  return done >= total ? 0 : 1;
}
