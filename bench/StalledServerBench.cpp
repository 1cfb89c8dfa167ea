// The GUI thread answering requests to a server that stops reading: the server sends request
// lines and reads nothing for a while, the client answers each line with one line of its own
// through its send road, then the server reads again. Prints the longest trip away from the
// message loop (the sends included) and whether every answer arrived, in order.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "bench/LoopSteps.h"
#include "host/Client.h"
#include "host/ClientList.h"
#include "host/Host.h"
#include "platform/testing.h"
#include "platform/tests/Loopback.h"
#include "platform/tests/TempFolder.h"
#include "platform/win32.h"

namespace {

const int kRequests = 8000;
const int kPerBurst = 40;
const int kBurstGapMs = 10;
const int kStallMs = 4000;
const std::string kAnswerBody(2000, 'a');

// Accepts one client, sends it the requests in bursts, reads nothing until the stall is over.
class StallingServer {
 public:
  StallingServer() : listener(loopback::listening(&port)) {
    thread = std::thread([this] { run(); });
  }
  ~StallingServer() {
    closesocket(listener);
    if (client != INVALID_SOCKET) shutdown(client, SD_BOTH);
    thread.join();
    closesocket(client);
  }
  std::string received() {
    std::lock_guard<std::mutex> hold(lock);
    return got;
  }
  u_short port = 0;
  std::atomic<bool> connected{false};

 private:
  void run() {
    client = accept(listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    connected = true;
    Sleep(300);  // the client settles
    for (int sent = 0; sent < kRequests;) {
      std::string burst;
      for (int i = 0; i < kPerBurst && sent < kRequests; ++i, ++sent)
        burst += "peer asks " + std::to_string(sent) + "\n";
      if (::send(client, burst.data(), (int)burst.size(), 0) != (int)burst.size()) return;
      Sleep(kBurstGapMs);
    }
    Sleep(kStallMs);
    char buffer[65536];
    int n;
    while ((n = recv(client, buffer, sizeof buffer, 0)) > 0) {
      std::lock_guard<std::mutex> hold(lock);
      got.append(buffer, n);
    }
  }
  SOCKET listener;
  SOCKET client = INVALID_SOCKET;
  std::thread thread;
  std::mutex lock;
  std::string got;
};

std::string answer(int index) { return "answer " + std::to_string(index) + " " + kAnswerBody + "\n"; }

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TempFolder folder;
  StallingServer server;
  folder.write("Vornith.ini", "[System]\n[bench]\nAutoconnect=On\nServer0=127.0.0.1:" +
                                  std::to_string(server.port) + "\n");
  std::string previous = std::filesystem::current_path().string();
  std::filesystem::current_path(folder.path());
  startUp(GetModuleHandleA(nullptr));
  Client* client = clientList != nullptr ? clientList->findClient("bench") : nullptr;
  if (client == nullptr || !vorntest::pumpUntil([&] { return server.connected.load(); }, 10000)) {
    std::fprintf(stderr, "the client did not connect\n");
    return 1;
  }
#if __has_include("host/SendQueue.h")
  // Loopback takes megabytes before a server's window is full: room for what waits beyond.
  client->getConnection().getSendQueue().setLimits(64 * 1024 * 1024, 30000);
#endif
  std::string expected;
  for (int i = 0; i < kRequests; ++i) expected += answer(i);
  chatbench::StepTimes steps;
  double longestSend = 0;
  int answered = 0;
  int base = client->getLineCount();
  chatbench::Clock::time_point start = chatbench::Clock::now();
  while (chatbench::since(start) < 60.0 && server.received().size() < expected.size()) {
    chatbench::Clock::time_point stepStart = chatbench::Clock::now();
    chatbench::LoopStep step = chatbench::runLoopStep();
    if (step.quit) break;
    // Every request line gets its answer from the GUI thread, as a plug-in's would.
    for (int lines = client->getLineCount() - base; answered < lines && answered < kRequests;) {
      chatbench::Clock::time_point sendStart = chatbench::Clock::now();
      client->sendData(answer(answered++).c_str());
      longestSend = std::max(longestSend, chatbench::since(sendStart));
    }
    steps.add(chatbench::since(stepStart));
    if (!step.got) std::this_thread::yield();
  }
  std::string got = server.received();
  std::printf("answers: %d sent, %zu of %zu bytes arrived (%s) in %.2f s\n", answered, got.size(),
              expected.size(), got == expected ? "in order" : "NOT as sent",
              chatbench::since(start));
  std::printf("longest trip away from the message loop: %.1f ms (99%%: %.2f ms)\n",
              steps.longest() * 1e3, steps.percentile(0.99) * 1e3);
  std::printf("longest answer sent: %.2f ms\n", longestSend * 1e3);
  shutDown();
  std::filesystem::current_path(previous);
  return got == expected ? 0 : 1;
}
