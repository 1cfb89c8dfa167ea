// Start and quit of the whole host with many clients, headless. Three cases: many NevChat
// clients that do not connect (start until the first window can be shown, then quit), the same
// in a fresh folder that has no Plugs.ini yet, and a few NevChat clients logged in to the local
// chat server (quit). Quit runs as a person's does: WM_CLOSE to
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

bool runCase(int count, bool connect, bool fresh = false) {
  TempFolder folder;
  ChatServer server;
  if (!server.start()) {
    std::fprintf(stderr, "the chat server did not start: %s\n", server.error().c_str());
    return false;
  }
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(clientName(i));
  writeFolder(folder, server.port(), names, connect);
  if (fresh) std::filesystem::remove(folder.file("Plugs.ini"));
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
  std::printf("%d clients%s%s: start to first window %.3f s (start-up %.3f s), quit %.3f s\n",
              count, connect ? " logged in" : " not connecting", fresh ? ", no Plugs.ini" : "",
              startSeconds, startUpSeconds, quit);
  std::uintmax_t saved = std::filesystem::file_size("Plugs.ini");
  std::printf("  Plugs.ini %ju bytes, Vornith.ini %ju bytes\n", saved,
              std::filesystem::file_size("Vornith.ini"));
  std::filesystem::current_path(previous);
  return ok;
}

}  // namespace

// Runs one case in a process of its own (the host's objects are process-wide).
bool inChild(int count, bool connect, bool fresh) {
  pid_t child = fork();
  if (child == 0) std::exit(runCase(count, connect, fresh) ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Arguments: the number of idle clients (300) and of logged-in clients (10); "0" skips a case.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int idle = argc > 1 ? std::atoi(argv[1]) : 300;
  int loggedIn = argc > 2 ? std::atoi(argv[2]) : 10;
  bool ok = true;
  if (idle > 0) ok = inChild(idle, false, false) && ok;
  if (idle > 0) ok = inChild(idle, false, true) && ok;
  if (loggedIn > 0) ok = inChild(loggedIn, true, false) && ok;
  return ok ? 0 : 1;
}
