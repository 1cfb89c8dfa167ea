// Start and quit of the whole host with many clients, headless. Two cases: many NevChat clients
// that do not connect (start until the first window can be shown, then quit), and a few NevChat
// clients logged in to the local chat server (quit). Quit runs as a person's does: WM_CLOSE to
// the system window, the message loop until it ends, then the host's shut-down.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/ClientList.h"
#include "host/Host.h"
#include "host/SystemWindow.h"
#include "lib/RootWindow.h"
#include "outside/chatserver/ChatServer.h"
#include "platform/testing.h"
#include "platform/tests/TempFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string clientName(int index) { return "client" + std::to_string(index); }

// count NevChat clients, every one logged in as itself when connect is set.
void writeFolder(const TempFolder& folder, int count, int port, bool connect) {
  namespace fs = std::filesystem;
  fs::create_directories(folder.file("Plugins"));
  fs::create_directories(folder.file("Events"));
  fs::copy_file(NEVCHAT_MODULE, folder.file("Plugins/NevChat.vma"));
  fs::copy_file(NEVCHAT_EVENTS_FILE, folder.file("Events/nevchat.evt"));
  std::string host = "[System]\nPlugins Directory=.\\Plugins\nEvents Directory=.\\Events\n";
  std::string plugs;
  for (int i = 0; i < count; ++i) {
    std::string section = "[" + clientName(i) + "]\n";
    host += section + "Autoconnect=" + (connect ? "On" : "Off") +
            "\nServer0=127.0.0.1:" + std::to_string(port) + "\nRegExpr=nevchat.evt\nMain=NevChat\n";
    plugs += section + "NevChat Login=" + clientName(i) + "\n";
  }
  folder.write("Vornith.ini", host);
  folder.write("Plugs.ini", plugs);
}

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
  writeFolder(folder, count, server.port(), connect);
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
          for (int i = 0; i < count; ++i)
            if (!server.isLoggedIn(clientName(i))) return false;
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
