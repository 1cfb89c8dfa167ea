// A small host for the tray's settings-form library, as a setup page would be: a top-level
// window titled "vtraySetup host" holding the form. It prints the three option values
// ("values 0 1 0") at start and whenever a person changes one, so a desktop test can read
// them through the library's Get entry points.
#include <cstdio>

#include "platform/win32.h"
#include "plugins/SettingsForm/SettingsFormAbi.h"

namespace {

FormGetProc getters[3] = {};
FormWord shown[3] = {2, 2, 2};

template <typename Proc>
Proc bound(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

void printChanges() {
  FormWord now[3];
  for (int i = 0; i < 3; ++i) now[i] = getters[i] ? getters[i]() : 0;
  if (now[0] == shown[0] && now[1] == shown[1] && now[2] == shown[2]) return;
  for (int i = 0; i < 3; ++i) shown[i] = now[i];
  std::printf("values %lu %lu %lu\n", static_cast<unsigned long>(now[0]),
              static_cast<unsigned long>(now[1]), static_cast<unsigned long>(now[2]));
  std::fflush(stdout);
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) printChanges();
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: traysetuphost <vtraySetup library>\n");
    return 2;
  }
  HMODULE library = LoadLibraryA(argv[1]);
  if (library == nullptr) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  const char* names[3] = {"GetHideWhenMinimize", "GetSimpleClickToUntray", "GetChatMeter"};
  for (int i = 0; i < 3; ++i) getters[i] = bound<FormGetProc>(library, names[i]);
  auto createForm = bound<FormCreateProc>(library, "CreateForm");
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = hostProc;
  wc.lpszClassName = "TraySetupHost";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
  RegisterClassExA(&wc);
  HWND window = CreateWindowExA(0, "TraySetupHost", "vtraySetup host",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 800, 440, nullptr,
                                nullptr, nullptr, nullptr);
  if (window == nullptr || createForm == nullptr ||
      createForm(reinterpret_cast<FormWord>(window)) == 0) {
    std::fprintf(stderr, "no form\n");
    return 1;
  }
  printChanges();
  SetTimer(window, 1, 100, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  FreeLibrary(library);
  return 0;
}
