#include "tests/desktop/OtherClient.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>

namespace {

const long kRemove = 0;
const long kAdd = 1;
const long kSourceIsUser = 2;

std::vector<long> longProperty(Display* display, Window window, Atom name, Atom type) {
  Atom actualType = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<long> values;
  if (XGetWindowProperty(display, window, name, 0, 64, False, type, &actualType, &format, &count,
                         &after, &data) == Success &&
      data != nullptr) {
    if (format == 32) {
      const long* longs = reinterpret_cast<const long*>(data);
      values.assign(longs, longs + count);
    }
    XFree(data);
  }
  return values;
}

}  // namespace

bool OtherClient::open(const std::vector<std::string>& environment) {
  close();
  for (const std::string& entry : environment) {
    if (entry.rfind("DISPLAY=", 0) == 0) display_ = XOpenDisplay(entry.c_str() + 8);
  }
  return display_ != nullptr;
}

void OtherClient::close() {
  if (display_ != nullptr) XCloseDisplay(display_);
  display_ = nullptr;
  own_ = 0;
}

unsigned long OtherClient::atom(const char* name) { return XInternAtom(display_, name, False); }

bool OtherClient::sendToRoot(WindowId window, const char* type, const std::vector<long>& data) {
  if (display_ == nullptr) return false;
  XEvent event;
  std::memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = atom(type);
  event.xclient.format = 32;
  for (size_t i = 0; i < data.size() && i < 5; ++i) event.xclient.data.l[i] = data[i];
  XSendEvent(display_, DefaultRootWindow(display_), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XSync(display_, False);
  return true;
}

bool OtherClient::requestMaximized(WindowId window, bool maximized) {
  if (display_ == nullptr) return false;
  long vertical = static_cast<long>(atom("_NET_WM_STATE_MAXIMIZED_VERT"));
  long horizontal = static_cast<long>(atom("_NET_WM_STATE_MAXIMIZED_HORZ"));
  return sendToRoot(window, "_NET_WM_STATE",
                    {maximized ? kAdd : kRemove, vertical, horizontal, kSourceIsUser});
}

bool OtherClient::requestClose(WindowId window) {
  return sendToRoot(window, "_NET_CLOSE_WINDOW", {CurrentTime, kSourceIsUser});
}

bool OtherClient::isMaximized(WindowId window) {
  if (display_ == nullptr) return false;
  std::vector<long> states = longProperty(display_, window, atom("_NET_WM_STATE"), XA_ATOM);
  bool vertical = false, horizontal = false;
  for (long state : states) {
    vertical |= static_cast<Atom>(state) == atom("_NET_WM_STATE_MAXIMIZED_VERT");
    horizontal |= static_cast<Atom>(state) == atom("_NET_WM_STATE_MAXIMIZED_HORZ");
  }
  return vertical && horizontal;
}

Rect OtherClient::workArea() {
  if (display_ == nullptr) return Rect();
  std::vector<long> area =
      longProperty(display_, DefaultRootWindow(display_), atom("_NET_WORKAREA"), XA_CARDINAL);
  if (area.size() < 4) return Rect();
  return Rect{static_cast<int>(area[0]), static_cast<int>(area[1]), static_cast<int>(area[2]),
              static_cast<int>(area[3])};
}

OtherClient::WindowId OtherClient::showFullScreenWindow() {
  if (display_ == nullptr) return 0;
  int screen = DefaultScreen(display_);
  own_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 320, 240, 0,
                             BlackPixel(display_, screen), BlackPixel(display_, screen));
  XStoreName(display_, own_, "A film");
  Atom fullScreen = atom("_NET_WM_STATE_FULLSCREEN");
  XChangeProperty(display_, own_, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&fullScreen), 1);
  XMapRaised(display_, own_);
  XSync(display_, False);
  return own_;
}

bool OtherClient::activate(WindowId window) {
  return sendToRoot(window, "_NET_ACTIVE_WINDOW", {kSourceIsUser, CurrentTime, 0});
}

bool OtherClient::smallWindowMappedAt(Point where) {
  if (display_ == nullptr) return false;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0)
    return false;
  bool found = false;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(display_, children[i], &a) == 0 || a.map_state != IsViewable) continue;
    bool small = a.width < DisplayWidth(display_, DefaultScreen(display_));
    found = small && where.x >= a.x && where.x < a.x + a.width && where.y >= a.y &&
            where.y < a.y + a.height;
  }
  if (children != nullptr) XFree(children);
  return found;
}
