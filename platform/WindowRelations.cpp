// IsChild and SetActiveWindow over the window table, and the debugger output of the layer.
#include <cstdio>
#include <cstdlib>

#include "platform/WindowTable.h"
#include "platform/win32.h"

using namespace vornplatform;

BOOL IsChild(HWND parent, HWND child) {
  if (!IsWindow(parent)) return FALSE;
  WindowPtr w = findWindow(child);
  while (w && !w->dying && (w->style & WS_CHILD) && w->parent) {
    if (w->parent == parent) return TRUE;
    w = findWindow(w->parent);
  }
  return FALSE;
}

HWND SetActiveWindow(HWND hwnd) {
  HWND old = GetActiveWindow();
  WindowPtr w = findWindow(hwnd);
  if (!w || w->dying || w->parent) return nullptr;
  SetForegroundWindow(hwnd);
  return old;
}

void OutputDebugStringA(LPCSTR text) {
  static const bool wanted = std::getenv("VORNITH_DEBUG_OUTPUT") != nullptr;
  if (wanted && text != nullptr) std::fputs(text, stderr);
}
