#include "plugins/MineDuel/GridLibrary.h"

const char GridLibrary::kDefaultPath[] = ".\\plugins\\MineDuel.dll";

namespace {

template <typename Call>
Call entry(HMODULE library, const char* name) {
  // Through the generic function type, which converts to any other without complaint.
  return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace

// Never released: the grid it draws may outlive any one game.
GridLibrary::GridLibrary(const char* path) {
  HMODULE library = LoadLibraryA(path);
  if (library == nullptr) return;
  initCall = entry<InitCall>(library, "Init");
  resetCall = entry<PlainCall>(library, "Reset");
  enableCall = entry<EnableCall>(library, "Enable");
  fillCall = entry<FillCall>(library, "Fill");
  beginCall = entry<PlainCall>(library, "BeginUpdate");
  endCall = entry<PlainCall>(library, "EndUpdate");
  bound = initCall && resetCall && enableCall && fillCall && beginCall && endCall;
}

void GridLibrary::init(HWND window, int width, int height) {
  if (bound) initCall(window, width, height);
}

void GridLibrary::enable(bool on) {
  if (bound) enableCall(on ? 1 : 0);
}

void GridLibrary::fill(int x, int y, int value, COLORREF colour) {
  if (bound) fillCall(x, y, value, colour);
}

void GridLibrary::beginUpdate() {
  if (bound) beginCall();
}

void GridLibrary::endUpdate() {
  if (bound) endCall();
}
