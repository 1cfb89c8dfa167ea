#include "host/Host.h"
#include "host/HostPlatformCalls.h"
#include "host/SystemWindow.h"
#include "lib/RootWindow.h"

namespace {

// Another host may already run; the user decides whether this one goes on. The first versions
// looked for the title "Vornith 2.00", which no main window carries any more: look for the one
// the main window has, or the check could never find a running copy.
bool anotherSessionWanted() {
  HWND running = FindWindowA("BlackHoleWindow", SystemWindow::Title);
  if (running == nullptr) return true;
  int answer = MessageBoxA(nullptr,
                           "Vornith has already been started...\nDo you want to open another "
                           "session ?",
                           "Vornith Message", MB_YESNO);
  if (answer != IDNO) return true;
  ShowWindow(running, SW_RESTORE);
  UpdateWindow(running);
  return false;
}

// Every relative path of the host (settings, plug-ins, events, logs) is the program folder's.
void enterProgramFolder() {
  char* path = programPath();
  if (path != nullptr && cutToFolder(path)) SetCurrentDirectoryA(path);
  delete[] path;
}

}  // namespace

bool cutToFolder(char* path) {
  char* cut = nullptr;
  for (char* at = path; *at != 0; ++at)
    if (*at == '\\' || *at == '/') cut = at;
  if (cut == nullptr) return false;
  *cut = 0;
  return true;
}

int WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!anotherSessionWanted()) return 0;
  enterProgramFolder();
  startUp(instance);
  runMessageLoop();
  shutDown();
  return 0;
}
