// Regions as Qt regions in a handle table, and window shapes as masks on the window's widget.
#include "platform/Regions.h"

#include <QWidget>
#include <map>
#include <mutex>

#include "platform/Handles.h"
#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

std::mutex regionsLock;
std::map<uint32_t, QRegion>& regions() {
  static auto* instance = new std::map<uint32_t, QRegion>;
  return *instance;
}
// The shape each window was given, by handle value.
std::map<uint32_t, QRegion>& windowShapes() {
  static auto* instance = new std::map<uint32_t, QRegion>;
  return *instance;
}

uint32_t valueOf(const void* handle) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  return value > UINT32_MAX ? 0 : static_cast<uint32_t>(value);
}

HRGN newRegion(const QRegion& region) {
  uint32_t value = nextHandleValue();
  std::lock_guard<std::mutex> guard(regionsLock);
  regions()[value] = region;
  return reinterpret_cast<HRGN>(static_cast<uintptr_t>(value));
}

QRect rectOf(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  return QRect(left, top, right - left, bottom - top);
}

int kindOf(const QRegion& region) {
  if (region.isEmpty()) return NULLREGION;
  return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace

bool regionOf(HRGN handle, QRegion* out) {
  std::lock_guard<std::mutex> guard(regionsLock);
  auto it = regions().find(valueOf(handle));
  if (it == regions().end()) return false;
  *out = it->second;
  return true;
}

bool deleteRegion(HGDIOBJ handle) {
  std::lock_guard<std::mutex> guard(regionsLock);
  return regions().erase(valueOf(handle)) != 0;
}

}  // namespace vornplatform

using namespace vornplatform;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return newRegion(QRegion(rectOf(left, top, right, bottom)));
}

// The cross of the straight edges joined with the four corner ellipses.
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int cx, int cy) {
  QRect r = rectOf(left, top, right, bottom);
  int w = std::min(std::abs(cx), r.width());
  int h = std::min(std::abs(cy), r.height());
  if (w < 2 || h < 2) return newRegion(QRegion(r));
  QRegion shape(r.adjusted(w / 2, 0, -(w / 2), 0));
  shape += QRegion(r.adjusted(0, h / 2, 0, -(h / 2)));
  shape += QRegion(QRect(r.left(), r.top(), w, h), QRegion::Ellipse);
  shape += QRegion(QRect(r.right() + 1 - w, r.top(), w, h), QRegion::Ellipse);
  shape += QRegion(QRect(r.left(), r.bottom() + 1 - h, w, h), QRegion::Ellipse);
  shape += QRegion(QRect(r.right() + 1 - w, r.bottom() + 1 - h, w, h), QRegion::Ellipse);
  return newRegion(shape & QRegion(r));
}

BOOL PtInRegion(HRGN handle, int x, int y) {
  QRegion region;
  return regionOf(handle, &region) && region.contains(QPoint(x, y));
}

int SetWindowRgn(HWND hwnd, HRGN handle, BOOL redraw) {
  WindowPtr w = findWindow(hwnd);
  QRegion shape;
  if (!w || w->dying || (handle && !regionOf(handle, &shape))) return 0;
  if (handle) deleteRegion(handle);  // the window owns it now
  {
    std::lock_guard<std::mutex> guard(regionsLock);
    if (handle)
      windowShapes()[valueOf(hwnd)] = shape;
    else
      windowShapes().erase(valueOf(hwnd));
  }
  QWidget* widget = w->frame ? w->frame.data() : w->client.data();
  if (widget && isGuiThread()) {
    if (handle)
      widget->setMask(shape);
    else
      widget->clearMask();
    if (redraw) widget->update();
  }
  return 1;
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
  QRegion first, second, result;
  if (!regionOf(a, &first) || (mode != RGN_COPY && !regionOf(b, &second))) return 0;
  switch (mode) {
    case RGN_AND: result = first & second; break;
    case RGN_OR: result = first | second; break;
    case RGN_XOR: result = first ^ second; break;
    case RGN_DIFF: result = first - second; break;
    case RGN_COPY: result = first; break;
    default: return 0;
  }
  std::lock_guard<std::mutex> guard(regionsLock);
  auto target = regions().find(valueOf(dest));
  if (target == regions().end()) return 0;
  target->second = result;
  return kindOf(result);
}

int GetWindowRgn(HWND hwnd, HRGN handle) {
  QRegion shape;
  {
    std::lock_guard<std::mutex> guard(regionsLock);
    auto it = windowShapes().find(valueOf(hwnd));
    if (it == windowShapes().end() || !findWindow(hwnd)) return 0;
    shape = it->second;
    auto target = regions().find(valueOf(handle));
    if (target == regions().end()) return 0;
    target->second = shape;
  }
  return kindOf(shape);
}
