// A window's relatives in the tree: its first child and its next sibling.
#include <algorithm>

#include "platform/WindowTable.h"

using namespace vornplatform;

namespace {

HWND firstLive(const std::vector<HWND>& windows, size_t from) {
  for (size_t i = from; i < windows.size(); ++i) {
    WindowPtr w = findWindow(windows[i]);
    if (w && !w->dying) return windows[i];
  }
  return nullptr;
}

}  // namespace

HWND GetWindow(HWND hwnd, UINT relation) {
  WindowPtr w = findWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (relation == GW_CHILD) return firstLive(w->children, 0);
  if (relation != GW_HWNDNEXT || w->parent == nullptr) return nullptr;
  WindowPtr parent = findWindow(w->parent);
  if (!parent) return nullptr;
  const std::vector<HWND>& siblings = parent->children;
  auto at = std::find(siblings.begin(), siblings.end(), hwnd);
  if (at == siblings.end()) return nullptr;
  return firstLive(siblings, static_cast<size_t>(at - siblings.begin()) + 1);
}
