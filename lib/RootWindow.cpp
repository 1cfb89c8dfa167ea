// One set of toolkit state per module: each plug-in links its own copy of this library, so it
// has its own root, registry and window procedure.
#include "lib/RootWindow.h"

namespace {

HINSTANCE moduleInstance = nullptr;
RootWindow* rootWindow = nullptr;
bool rootExists = false;
// Set while this module runs the thread's message loop: only then may the root end it.
bool loopRunning = false;

}  // namespace

HINSTANCE getModuleInstance() { return moduleInstance; }

RootWindow* getRootWindow() { return rootWindow; }

bool rootWindowExists() { return rootExists; }

void initToolkit(HINSTANCE instance, int iconId, RootWindow* root) {
  moduleInstance = instance;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_GLOBALCLASS;
  windowClass.lpfnWndProc = toolkitWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(iconId));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_MENU + 1));
  windowClass.lpszClassName = "BlackHoleWindow";
  // A second module's registration of the global class fails; its windows still get this
  // module's procedure when they are subclassed.
  RegisterClassExA(&windowClass);
  rootWindow = root;
  LoadLibraryA("riched20.dll");
  InitCommonControls();
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_USEREX_CLASSES};
  InitCommonControlsEx(&controls);
}

void runMessageLoop() {
  bool wasRunning = loopRunning;
  loopRunning = true;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  loopRunning = wasRunning;
}

RootWindow::RootWindow() : Container("Root Window") { rootExists = true; }

RootWindow::~RootWindow() {
  // Cleared first, so the windows going away now never end the loop.
  rootExists = false;
  destroyChildren();
  if (rootWindow == this) rootWindow = nullptr;
}

const char* RootWindow::typeName() const { return "system container"; }

void RootWindow::create() { hwnd = nullptr; }

bool RootWindow::onChildVisibility(Window*) { return true; }

void RootWindow::onChildRemoved(Window*) {
  if (!rootExists || !loopRunning) return;
  for (Window* child = firstChild; child; child = child->nextSibling()) {
    if (child->isVisible()) return;
  }
  PostMessageA(nullptr, WM_QUIT, 0, 0);
}

void RootWindow::addChild(Window* window) { window->createIn(this); }

void RootWindow::registerWindow(Window* window) {
  registry.add(reinterpret_cast<uintptr_t>(window->getHwnd()), window);
}

void RootWindow::unregisterWindow(Window* window) {
  uintptr_t key = reinterpret_cast<uintptr_t>(window->getHwnd());
  // Only the window's own entry: a second object refused for the same handle leaves the
  // first one registered.
  if (registry.find(key) == window) registry.remove(key);
}

Window* RootWindow::findWindow(HWND handle) {
  return static_cast<Window*>(registry.find(reinterpret_cast<uintptr_t>(handle)));
}

WNDPROC RootWindow::getWindowProc() { return toolkitWindowProc; }
