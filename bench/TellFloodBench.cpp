// Tells flooding the tell add-in, headless: the local chat server sends tells from many
// correspondents as fast as it can to one client with NevChat and NevTell, while this program
// runs the GUI thread's message loop itself. Prints the tells shown per second, how long the
// GUI thread stayed away from its loop, the resident memory, and the lines each tab keeps.
// Arguments: the number of tells (10,000) and of correspondents (100); one correspondent and
// more tells than a pane keeps shows a tab's scrollback bound.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/ChatBench.h"
#include "plugins/NevTell/NevTellSession.h"
#include "plugins/NevTell/NevTellTab.h"

namespace {

using namespace chatbench;

const char kClient[] = "flood";
const long kSampleEvery = 2000;
const char kLastWords[] = "that was the flood";

std::string correspondent(long i, long correspondents) {
  return "pal" + std::to_string(i % correspondents);
}

// Tells as the server sends them, 1 to 30 words and now and then an emoticon; fixed seed.
std::vector<std::string> tells(long count, long correspondents) {
  static const char* const words[] = {"are", "you", "there", "coffee", "later", "ok", "lol",
                                      "see", "the", "file", "is", "ready", "brb", "yes", "no"};
  std::mt19937 random(20240611);
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(count));
  for (long i = 0; i < count; ++i) {
    long second = 12 * 3600 + i / 200;
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02ld:%02ld:%02ld ", second / 3600 % 24, second / 60 % 60,
                  second % 60);
    std::string line = stamp + correspondent(i, correspondents) + " tells you: ";
    int wordCount = 1 + static_cast<int>(random() % 30);
    for (int w = 0; w < wordCount; ++w) line += std::string(w > 0 ? " " : "") + words[random() % 15];
    if (random() % 8 == 0) line += " :)";
    lines.push_back(line + "\n");
  }
  if (!lines.empty())
    lines.back() = "13:00:00 " + correspondent(count - 1, correspondents) + " tells you: " +
                   kLastWords + "\n";
  return lines;
}

HWND tabPane(NevTellSession* session, const std::string& nick) {
  NevTellTab* tab = session->getTab(nick.c_str(), false);
  return tab != nullptr ? tab->getOutput()->getHwnd() : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  long total = argc > 1 ? std::atol(argv[1]) : 10000;
  long correspondents = argc > 2 ? std::max(1L, std::atol(argv[2])) : 100;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TempFolder folder;
  ChatServer server;
  std::string previous = std::filesystem::current_path().string();
  std::vector<std::string> lines = tells(total, correspondents);
  const AddinModule tell = {NEVTELL_MODULE, "NevTell"};
  Client* client = startLoggedInClient(server, folder, kClient, &tell);
  NevTellSession* session = client != nullptr ? firstAddin<NevTellSession>(client) : nullptr;
  if (session == nullptr) {
    std::fprintf(stderr, "the client with NevTell did not log in\n");
    return 1;
  }
  std::string lastNick = correspondent(total - 1, correspondents);
  long before = client->getLineCount();
  FloodRecord record(kSampleEvery);

  Clock::time_point start = Clock::now();
  std::thread feeder([&] {
    for (const std::string& line : lines)
      if (!server.inject(kClient, line)) return;
  });
  long done = 0;
  bool finished = false;
  StallWatch watch(10);
  while (!finished) {
    LoopStep step = runLoopStep();
    if (step.quit) break;
    long linesBefore = done;
    done = client->getLineCount() - before;
    record.add(step, linesBefore, done);
    if (done >= total) finished = showsLastLine(tabPane(session, lastNick), kLastWords);
    if (watch.stalled(done, step.got)) break;
  }
  double seconds = since(start);
  feeder.join();

  long most = 0;
  for (long i = 0; i < correspondents; ++i)
    most = std::max(most, paneMessage(tabPane(session, correspondent(i, correspondents)),
                                      EM_GETLINECOUNT));
  std::printf("%s; %ld tells from %ld correspondents in %.2f s: %.0f tells/s\n",
              finished ? "last tell shown" : "last tell NOT shown", total, correspondents, seconds,
              total / seconds);
  std::printf("tabs: %d; most lines kept by one tab: %ld\n", session->tabCount(), most);
  record.printSteps();
  record.printSlowestAndMemory("tells");

  shutDown();
  server.stop();
  std::filesystem::current_path(previous);
  return finished ? 0 : 1;
}
