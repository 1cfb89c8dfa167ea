// Prints what the layer's GetForegroundWindow answers on the X desktop it runs on: the
// window's rectangle and its client size, or "none".
#include <cstdio>

#include "platform/win32.h"

int main() {
  HWND front = GetForegroundWindow();
  RECT window{}, client{};
  if (!front || !GetWindowRect(front, &window) || !GetClientRect(front, &client)) {
    std::printf("none\n");
    return 1;
  }
  std::printf("%ld %ld %ld %ld %ld %ld\n", static_cast<long>(window.left),
              static_cast<long>(window.top), static_cast<long>(window.right),
              static_cast<long>(window.bottom), static_cast<long>(client.right),
              static_cast<long>(client.bottom));
  return 0;
}
