// The whiteboard add-in, headless, in the whole host with one client of the local chat server:
// how long a board holding many segments takes to repaint, and how long the GUI thread stays
// away from its message loop while a peer's segments arrive at a steady rate.
// Arguments: the segments held for the repaint (100,000), segments a second (10,000) and
// seconds of arrival (3).
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/ChatBench.h"
#include "plugins/v2draw/DrawSession.h"

namespace {

using namespace chatbench;

const char kClient[] = "painter";

// Segments of 1 to 40 pixels all over the board, or (far) from one end of the coordinates to
// the other, as a hostile peer may send them; fixed seed.
void fill(DrawBoard* board, long count, bool far) {
  std::mt19937 random(20261209);
  for (long i = 0; i < count; ++i) {
    int x = static_cast<int>(random() % 600), y = static_cast<int>(random() % 400);
    int dx = static_cast<int>(random() % 40), dy = static_cast<int>(random() % 40);
    if (far)
      board->addLine(DrawLine::of(0, -32768, y, 32767, 400 - y, 0));
    else
      board->addLine(DrawLine::of(0, x, y, x + dx, y + dy, 0));
  }
}

void measureRepaint(DrawSession* session, long count, bool far) {
  DrawBoard* board = session->getBoard("holder");
  fill(board, count, far);
  vorntest::pumpFor(200);
  std::vector<double> times;
  for (int i = 0; i < 20; ++i) {
    Clock::time_point start = Clock::now();
    InvalidateRect(board->getWindow(), nullptr, TRUE);
    SendMessageA(board->getWindow(), WM_PAINT, 0, 0);
    vorntest::pumpFor(0);  // the tab shows the new image
    times.push_back(since(start));
  }
  std::sort(times.begin(), times.end());
  std::printf("repaint of %d %ssegments: median %.1f ms, slowest %.1f ms\n", board->lineCount(),
              far ? "far-reaching " : "", times[times.size() / 2] * 1e3, times.back() * 1e3);
  session->closeBoard("holder");
}

std::string segmentLine(long i, std::mt19937& random) {
  int x = static_cast<int>(random() % 600), y = static_cast<int>(random() % 400);
  char text[96];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld [data] peer }l 0 %d %d %d %d 0\n",
                12 + i / 3600000 % 12, i / 60000 % 60, i / 1000 % 60, x, y, x + 9, y + 7);
  return text;
}

void measureArrival(Client* client, DrawSession* session, ChatServer& server, long perSecond,
                    long seconds) {
  long total = perSecond * seconds;
  std::atomic<bool> stop{false};
  Clock::time_point start = Clock::now();
  std::thread feeder([&] {
    std::mt19937 random(7);
    const long batches = 100;  // a batch every 10 ms
    for (long b = 0; b < seconds * batches && !stop; ++b) {
      std::string chunk;
      for (long i = 0; i < perSecond / batches; ++i)
        chunk += segmentLine(b * (perSecond / batches) + i, random);
      if (!server.inject(kClient, chunk)) return;
      std::this_thread::sleep_until(start + std::chrono::milliseconds(10 * (b + 1)));
    }
  });
  StepTimes steps;
  long before = client->getLineCount();
  auto held = [&] {
    DrawBoard* board = session->findBoard("peer");
    return board != nullptr ? board->lineCount() : 0;
  };
  while (held() < total && since(start) < seconds + 10.0) {
    LoopStep step = runLoopStep();
    if (step.quit) break;
    steps.add(step.seconds);
    if (!step.got) std::this_thread::yield();
  }
  double took = since(start);
  stop = true;
  feeder.join();
  std::printf("%ld segments at %ld/s: %d drawn in %.2f s (%ld lines received)\n", total,
              perSecond, held(), took, client->getLineCount() - before);
  std::printf("loop steps: %ld; longest %.1f ms; 99th percentile %.2f ms\n", steps.steps(),
              steps.longest() * 1e3, steps.percentile(0.99) * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  long held = argc > 1 ? std::atol(argv[1]) : 100000;
  long perSecond = argc > 2 ? std::max(100L, std::atol(argv[2])) : 10000;
  long seconds = argc > 3 ? std::max(1L, std::atol(argv[3])) : 3;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TempFolder folder;
  ChatServer server;
  std::string previous = std::filesystem::current_path().string();
  const AddinModule draw = {V2DRAW_MODULE, "v2draw"};
  Client* client = startLoggedInClient(server, folder, kClient, &draw);
  DrawSession* session = client != nullptr ? firstAddin<DrawSession>(client) : nullptr;
  if (session == nullptr) {
    std::fprintf(stderr, "the client with v2draw did not log in\n");
    return 1;
  }
  measureRepaint(session, held, false);
  measureRepaint(session, held, true);
  measureArrival(client, session, server, perSecond, seconds);
  shutDown();
  server.stop();
  std::filesystem::current_path(previous);
  return 0;
}
