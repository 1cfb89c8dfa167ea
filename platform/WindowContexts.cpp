// The way back from a context to its window.
#include "platform/DeviceContext.h"
#include "platform/win32.h"

using namespace vornplatform;

HWND WindowFromDC(HDC dc) {
  DeviceContext* context = contextOf(dc);
  if (context == nullptr || context->kind != DcKind::Window) return nullptr;
  return context->window;
}
