// Start and quit of the whole host with many clients, headless. Two cases: many NevChat clients
// that do not connect (start until the first window can be shown, then quit), and a few NevChat
// clients logged in to the local chat server (quit). Quit runs as a person's does: WM_CLOSE to
// the system window, the message loop until it ends, then the host's shut-down.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/ChatBench.h"
#include "host/SystemWindow.h"
#include "lib/RootWindow.h"

namespace {

using namespace chatbench;

std::string clientName(int index) { return "client" + std::to_string(index); }

// WM_CLOSE to the system window, the loop until it ends, and the host's end.
double quitSeconds() {
  auto start = Clock::now();
  PostMessageA(systemWindow->getHwnd(), WM_CLOSE, 0, 0);
  runMessageLoop();
  shutDown();
  return since(start);
}

bool runCase(int count, bool connect) {
  TempFolder folder;
  ChatServer server;
  if (!server.start()) {
    std::fprintf(stderr, "the chat server did not start: %s\n", server.error().c_str());
    return false;
  }
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(clientName(i));
  writeFolder(folder, server.port(), names, connect);
  std::string previous = std::filesystem::current_path().string();
  std::filesystem::current_path(folder.path());

  auto start = Clock::now();
  startUp(GetModuleHandleA(nullptr));
  double startUpSeconds = since(start);
  // The first window shows once the loop has run after the start.
  vorntest::pumpFor(0);
  double startSeconds = since(start);
  bool ok = true;
  if (connect) {
    ok = vorntest::pumpUntil(
        [&] {
          for (const std::string& name : names)
            if (!server.isLoggedIn(name)) return false;
          return true;
        },
        30000);
    if (!ok) std::fprintf(stderr, "not every client logged in\n");
    vorntest::pumpFor(300);
  }
  double quit = quitSeconds();
  std::printf("%d clients%s: start to first window %.3f s (start-up %.3f s), quit %.3f s\n",
              count, connect ? " logged in" : " not connecting", startSeconds, startUpSeconds, quit);
  std::uintmax_t saved = std::filesystem::file_size("Plugs.ini");
  std::printf("  Plugs.ini %ju bytes, Vornith.ini %ju bytes\n", saved,
              std::filesystem::file_size("Vornith.ini"));
  std::filesystem::current_path(previous);
  return ok;
}

}  // namespace

// Arguments: the number of idle clients (300) and of logged-in clients (10); "0" skips a case.
// The host's objects are process-wide, so each case runs in a process of its own.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int idle = argc > 1 ? std::atoi(argv[1]) : 300;
  int loggedIn = argc > 2 ? std::atoi(argv[2]) : 10;
  if (idle > 0 && loggedIn > 0) {
    pid_t child = fork();
    if (child == 0) return runCase(idle, false) ? 0 : 1;
    int status = 0;
    waitpid(child, &status, 0);
    return runCase(loggedIn, true) && status == 0 ? 0 : 1;
  }
  if (idle > 0) return runCase(idle, false) ? 0 : 1;
  return runCase(loggedIn, true) ? 0 : 1;
}
