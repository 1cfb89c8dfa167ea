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
#include "bench/ProcessMemory.h"
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

// The host with one client that has NevTell as add-in, logged in to the server.
Client* startTellClient(ChatServer& server, const TempFolder& folder) {
  if (!server.start()) return nullptr;
  writeFolder(folder, server.port(), {kClient});
  std::filesystem::copy_file(NEVTELL_MODULE, folder.file("Plugins/NevTell.vad"));
  std::string settings = folder.read("Vornith.ini");
  settings += "Addins=NevTell\n";  // the client's section is the last one
  folder.write("Vornith.ini", settings);
  std::filesystem::current_path(folder.path());
  startUp(GetModuleHandleA(nullptr));
  Client* client = clientList != nullptr ? clientList->findClient(kClient) : nullptr;
  if (client == nullptr || !vorntest::pumpUntil([&] { return server.isLoggedIn(kClient); }, 10000))
    return nullptr;
  vorntest::pumpFor(500);
  return client;
}

NevTellSession* tellSession(Client* client) {
  ListNode<SessionRecord*>* first = client->getAddins().headNode();
  return first != nullptr ? static_cast<NevTellSession*>(first->value->session) : nullptr;
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
  Client* client = startTellClient(server, folder);
  NevTellSession* session = client != nullptr ? tellSession(client) : nullptr;
  if (session == nullptr) {
    std::fprintf(stderr, "the client with NevTell did not log in\n");
    return 1;
  }
  std::string lastNick = correspondent(total - 1, correspondents);
  long before = client->getLineCount();
  StepTimes steps;
  std::vector<SlowStep> slowest;
  slowest.reserve(8);
  std::vector<long> resident, residentAt;
  long nextSample = kSampleEvery;

  Clock::time_point start = Clock::now();
  std::thread feeder([&] {
    for (const std::string& line : lines)
      if (!server.inject(kClient, line)) return;
  });
  long done = 0, lastDone = -1;
  bool finished = false;
  Clock::time_point lastProgress = start;
  while (!finished) {
    LoopStep step = runLoopStep();
    if (step.quit) break;
    steps.add(step.seconds);
    long linesBefore = done;
    done = client->getLineCount() - before;
    keepSlowest(slowest, {step.seconds, step.peekSeconds, step.message, linesBefore, done});
    if (done >= nextSample) {
      resident.push_back(statusField("VmRSS:"));
      residentAt.push_back(done);
      nextSample += kSampleEvery;
    }
    if (done >= total) finished = showsLastLine(tabPane(session, lastNick), kLastWords);
    if (done != lastDone) {
      lastDone = done;
      lastProgress = Clock::now();
    } else if (since(lastProgress) > 10) {
      break;
    } else if (!step.got) {
      std::this_thread::yield();
    }
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
  std::printf("loop steps: %ld; longest %.1f ms; 99th percentile %.2f ms\n", steps.steps(),
              steps.longest() * 1e3, steps.percentile(0.99) * 1e3);
  std::printf("slowest steps (ms, of which in PeekMessageA; message; tells before and after):\n");
  for (const SlowStep& s : slowest)
    std::printf("  %.1f  %.1f  0x%04x  %ld  %ld\n", s.seconds * 1e3, s.peekSeconds * 1e3, s.message,
                s.linesBefore, s.linesAfter);
  std::printf("resident memory (kB) at tells:");
  for (size_t i = 0; i < resident.size(); ++i) std::printf(" %ld:%ld", residentAt[i], resident[i]);
  std::printf("\npeak resident memory: %ld kB\n", statusField("VmHWM:"));

  shutDown();
  server.stop();
  std::filesystem::current_path(previous);
  return finished ? 0 : 1;
}
