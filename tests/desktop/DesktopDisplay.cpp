#include "tests/desktop/DesktopDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>

namespace {

// Windows vanish between a query and the next: such errors are expected, never fatal.
int ignoreError(Display*, XErrorEvent*) { return 0; }

std::vector<Window> childrenOf(Display* display, Window parent) {
  Window root = 0;
  Window up = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  std::vector<Window> result;
  if (XQueryTree(display, parent, &root, &up, &children, &count) != 0 && children != nullptr) {
    result.assign(children, children + count);
    XFree(children);
  }
  return result;
}

}  // namespace

bool DesktopDisplay::open(const std::string& name) {
  close();
  XSetErrorHandler(ignoreError);
  display_ = XOpenDisplay(name.c_str());
  return display_ != nullptr;
}

void DesktopDisplay::close() {
  if (display_ != nullptr) XCloseDisplay(display_);
  display_ = nullptr;
}

unsigned long DesktopDisplay::atom(const char* name) { return XInternAtom(display_, name, False); }

std::vector<unsigned long> DesktopDisplay::property(WindowId window, const char* name,
                                                    unsigned long type) {
  Atom actualType = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> values;
  if (XGetWindowProperty(display_, window, atom(name), 0, 1024, False, type, &actualType, &format,
                         &count, &after, &data) == Success &&
      data != nullptr) {
    if (format == 32) {
      const unsigned long* longs = reinterpret_cast<const unsigned long*>(data);
      values.assign(longs, longs + count);
    } else if (format == 8) {
      values.assign(data, data + count);
    }
    XFree(data);
  }
  return values;
}

std::string DesktopDisplay::windowManager() {
  std::vector<unsigned long> check =
      property(DefaultRootWindow(display_), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  if (check.empty()) return std::string();
  return titleOf(check[0]);
}

std::string DesktopDisplay::titleOf(WindowId window) {
  std::vector<unsigned long> utf8 = property(window, "_NET_WM_NAME", atom("UTF8_STRING"));
  if (!utf8.empty()) return std::string(utf8.begin(), utf8.end());
  char* name = nullptr;
  std::string title;
  if (XFetchName(display_, window, &name) != 0 && name != nullptr) {
    title = name;
    XFree(name);
  }
  return title;
}

long DesktopDisplay::windowState(WindowId window) {
  unsigned long type = atom("WM_STATE");
  std::vector<unsigned long> state = property(window, "WM_STATE", type);
  return state.empty() ? -1 : static_cast<long>(state[0]);
}

bool DesktopDisplay::viewable(WindowId window) {
  XWindowAttributes attributes;
  return XGetWindowAttributes(display_, window, &attributes) != 0 &&
         attributes.map_state == IsViewable;
}

DesktopDisplay::WindowId DesktopDisplay::findBelow(WindowId parent, const std::string& title,
                                                   int depth) {
  for (Window child : childrenOf(display_, parent)) {
    if (!viewable(child)) continue;
    if (titleOf(child) == title) return child;
    if (depth > 1) {
      WindowId inside = findBelow(child, title, depth - 1);
      if (inside != 0) return inside;
    }
  }
  return 0;
}

DesktopDisplay::WindowId DesktopDisplay::findWindow(const std::string& title) {
  return findBelow(DefaultRootWindow(display_), title, 3);
}

Rect DesktopDisplay::geometry(WindowId window) {
  XWindowAttributes attributes;
  Window child = 0;
  int x = 0;
  int y = 0;
  if (XGetWindowAttributes(display_, window, &attributes) == 0) return Rect();
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
  return Rect{x, y, attributes.width, attributes.height};
}

std::vector<long> DesktopDisplay::frameExtents(WindowId window) {
  std::vector<unsigned long> values = property(window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
  return std::vector<long>(values.begin(), values.end());
}

ScreenImage DesktopDisplay::windowIcon(WindowId window) {
  Atom actualType = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  // Large enough for a few sizes of a 256-pixel icon: width, height, then one value a pixel.
  const long longest = 4 * (2 + 256 * 256);
  if (XGetWindowProperty(display_, window, atom("_NET_WM_ICON"), 0, longest, False, XA_CARDINAL,
                         &actualType, &format, &count, &after, &data) != Success ||
      data == nullptr)
    return ScreenImage();
  const unsigned long* values = reinterpret_cast<const unsigned long*>(data);
  ScreenImage icon;
  if (format == 32 && count >= 2 && values[0] > 0 && values[1] > 0 &&
      values[0] * values[1] <= count - 2) {
    int width = static_cast<int>(values[0]), height = static_cast<int>(values[1]);
    icon = ScreenImage(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        unsigned long argb = values[2 + y * width + x];
        icon.set(x, y, (argb >> 24) == 0 ? 0 : static_cast<uint32_t>(argb & 0xFFFFFF));
      }
  }
  XFree(data);
  return icon;
}

std::vector<std::string> DesktopDisplay::allowedActions(WindowId window) {
  std::vector<std::string> names;
  for (unsigned long a : property(window, "_NET_WM_ALLOWED_ACTIONS", XA_ATOM)) {
    char* name = XGetAtomName(display_, a);
    if (name == nullptr) continue;
    names.push_back(name);
    XFree(name);
  }
  return names;
}

DesktopDisplay::WindowId DesktopDisplay::activeWindow() {
  std::vector<unsigned long> active =
      property(DefaultRootWindow(display_), "_NET_ACTIVE_WINDOW", XA_WINDOW);
  return active.empty() ? 0 : active[0];
}

int DesktopDisplay::popupCount() {
  int count = 0;
  for (Window child : childrenOf(display_, DefaultRootWindow(display_))) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, child, &attributes) != 0 &&
        attributes.map_state == IsViewable && attributes.override_redirect &&
        attributes.width > 3 && attributes.height > 3 && attributes.x + attributes.width > 0 &&
        attributes.y + attributes.height > 0)
      ++count;
  }
  return count;
}

bool DesktopDisplay::clipboardHasOwner() {
  return XGetSelectionOwner(display_, atom("CLIPBOARD")) != None;
}

Rect DesktopDisplay::screen() {
  return Rect{0, 0, DisplayWidth(display_, DefaultScreen(display_)),
              DisplayHeight(display_, DefaultScreen(display_))};
}

ScreenImage DesktopDisplay::grab(const Rect& wanted) {
  Rect whole = screen();
  int left = std::max(wanted.x, 0);
  int top = std::max(wanted.y, 0);
  int right = std::min(wanted.x + wanted.width, whole.width);
  int bottom = std::min(wanted.y + wanted.height, whole.height);
  if (right <= left || bottom <= top) return ScreenImage();
  XImage* image = XGetImage(display_, DefaultRootWindow(display_), left, top,
                            static_cast<unsigned>(right - left),
                            static_cast<unsigned>(bottom - top), AllPlanes, ZPixmap);
  if (image == nullptr) return ScreenImage();
  ScreenImage pixels(right - left, bottom - top);
  for (int y = 0; y < pixels.height(); ++y)
    for (int x = 0; x < pixels.width(); ++x)
      pixels.set(x, y, static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
  XDestroyImage(image);
  return pixels;
}

namespace {

// The code points of UTF-8 text (malformed bytes are skipped).
std::vector<unsigned long> codePoints(const std::string& utf8) {
  std::vector<unsigned long> points;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= utf8.size()) {
      ++i;
      continue;
    }
    unsigned long point = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) point = (point << 6) | (utf8[i + k] & 0x3F);
    points.push_back(point);
    i += extra + 1;
  }
  return points;
}

// Latin-1 keysyms equal their code points; the rest of Unicode sits above 0x01000000.
KeySym keysymOf(unsigned long point) { return point <= 0xFF ? point : 0x01000000 | point; }

}  // namespace

bool DesktopDisplay::bindCharacters(const std::string& utf8) {
  if (!display_) return false;
  int low = 0, high = 0;
  XDisplayKeycodes(display_, &low, &high);
  int perCode = 0;
  KeySym* map = XGetKeyboardMapping(display_, low, high - low + 1, &perCode);
  if (!map) return false;
  auto isFree = [&](int code) {
    for (int k = 0; k < perCode; ++k)
      if (map[(code - low) * perCode + k] != NoSymbol) return false;
    return true;
  };
  int code = high;
  bool ok = true;
  for (unsigned long point : codePoints(utf8)) {
    KeySym sym = keysymOf(point);
    if (point < 0x80 || XKeysymToKeycode(display_, sym) != 0) continue;
    while (code >= low && !isFree(code)) --code;
    if (code < low) {
      ok = false;
      break;
    }
    KeySym pair[2] = {sym, sym};
    XChangeKeyboardMapping(display_, code, 2, pair, 1);
    XSync(display_, False);
    map[(code - low) * perCode] = sym;
    --code;
  }
  XFree(map);
  return ok;
}
