// On the xcb platform: the standard request to the root window for a frame's extents, read
// back from the window's _NET_FRAME_EXTENTS property, and a native event filter by which a
// change of that property or a reparenting of one of our top-level windows makes the window
// core look at its frame again, once Qt has taken the event in (Qt reads its frame margins
// afresh then).
#include "platform/FrameExtents.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <map>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

const int kAnswerWaitMs = 100;

// The window whose frame may have changed: the extents property changed, or it was reparented.
// Other property changes (Qt sets the user time on every key press) say nothing of the frame.
uint32_t windowOfEvent(const uint8_t* event, xcb_atom_t extents) {
  uint8_t type = event[0] & 0x7F;
  uint32_t window = 0;
  if (type == XCB_PROPERTY_NOTIFY) {
    xcb_atom_t atom = XCB_ATOM_NONE;
    std::memcpy(&atom, event + 8, sizeof atom);
    if (atom == extents) std::memcpy(&window, event + 4, sizeof window);
  }
  if (type == XCB_REPARENT_NOTIFY) std::memcpy(&window, event + 8, sizeof window);
  return window;
}

HWND topLevelWithNativeWindow(uint32_t window) {
  for (const WindowPtr& w : allWindows()) {
    if (w->frame && !w->dying && w->frame->internalWinId() == window) return w->hwnd;
  }
  return nullptr;
}

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
  xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

class FrameEventFilter : public QAbstractNativeEventFilter {
 public:
  explicit FrameEventFilter(xcb_atom_t extents) : extents_(extents) {}

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t" || !message) return false;
    uint32_t window = windowOfEvent(static_cast<const uint8_t*>(message), extents_);
    HWND hwnd = window ? topLevelWithNativeWindow(window) : nullptr;
    if (hwnd) QTimer::singleShot(0, qApp, [hwnd] { frameChangedByQt(hwnd); });
    return false;
  }

 private:
  xcb_atom_t extents_;
};

xcb_connection_t* connectionWatched() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection()) return nullptr;
  static bool watching = false;
  if (!watching) {
    watching = true;
    qGuiApp->installNativeEventFilter(
        new FrameEventFilter(atomNamed(x11->connection(), "_NET_FRAME_EXTENTS")));
  }
  return x11->connection();
}

// The 32-bit values of a window property, or none when it is missing or of another kind.
bool readValues(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                xcb_atom_t type, uint32_t count, uint32_t* out, uint32_t* found) {
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, property, type, 0, count), nullptr);
  bool ok = reply && reply->type == type && reply->format == 32;
  *found = ok ? std::min<uint32_t>(xcb_get_property_value_length(reply) / 4, count) : 0;
  if (ok) std::memcpy(out, xcb_get_property_value(reply), *found * 4);
  std::free(reply);
  return ok;
}

struct Atoms {
  xcb_atom_t request = XCB_ATOM_NONE;
  xcb_atom_t extents = XCB_ATOM_NONE;
  bool answered = false;  // the window manager says it answers the request
};

// Looked up once: a window manager that starts later is not asked.
const Atoms& atoms(xcb_connection_t* connection, xcb_window_t root) {
  static Atoms known;
  static bool looked = false;
  if (looked) return known;
  looked = true;
  known.request = atomNamed(connection, "_NET_REQUEST_FRAME_EXTENTS");
  known.extents = atomNamed(connection, "_NET_FRAME_EXTENTS");
  uint32_t supported[1024];
  uint32_t count = 0;
  readValues(connection, root, atomNamed(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 1024,
             supported, &count);
  for (uint32_t i = 0; i < count; ++i) known.answered |= supported[i] == known.request;
  return known;
}

void sendRequest(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window,
                 xcb_atom_t request) {
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = request;
  xcb_send_event(connection, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
}

bool askWindowManager(xcb_connection_t* connection, QWidget* frame, RECT* extents) {
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  if (!screen) return false;
  const Atoms& known = atoms(connection, screen->root);
  if (!known.answered) return false;
  auto window = static_cast<xcb_window_t>(frame->winId());
  sendRequest(connection, screen->root, window, known.request);
  QElapsedTimer waited;
  waited.start();
  do {
    uint32_t values[4];  // left, right, top, bottom
    uint32_t count = 0;
    readValues(connection, window, known.extents, XCB_ATOM_CARDINAL, 4, values, &count);
    if (count == 4) {
      *extents = RECT{static_cast<LONG>(values[0]), static_cast<LONG>(values[2]),
                      static_cast<LONG>(values[1]), static_cast<LONG>(values[3])};
      return true;
    }
    QThread::msleep(2);
  } while (waited.elapsed() < kAnswerWaitMs);
  return false;
}

}  // namespace

bool readMaximizedState(QWidget* frame, bool* maximized) {
  xcb_connection_t* connection = connectionWatched();
  if (!connection || !frame || !frame->internalWinId()) return false;
  static const xcb_atom_t state = atomNamed(connection, "_NET_WM_STATE");
  static const xcb_atom_t vertical = atomNamed(connection, "_NET_WM_STATE_MAXIMIZED_VERT");
  static const xcb_atom_t horizontal = atomNamed(connection, "_NET_WM_STATE_MAXIMIZED_HORZ");
  uint32_t values[32];
  uint32_t count = 0;
  auto window = static_cast<xcb_window_t>(frame->internalWinId());
  readValues(connection, window, state, XCB_ATOM_ATOM, 32, values, &count);
  bool across = false, down = false;
  for (uint32_t i = 0; i < count; ++i) {
    across |= values[i] == horizontal;
    down |= values[i] == vertical;
  }
  *maximized = across && down;
  return true;
}

// Windows of one kind get the same frame: the window manager is asked once per kind, so many
// windows made at start wait for one answer each kind (later changes still reach every window).
bool askFrameExtents(QWidget* frame, RECT* extents) {
  xcb_connection_t* connection = connectionWatched();
  if (!connection || !frame || (frame->windowFlags() & Qt::FramelessWindowHint)) return false;
  static std::map<int, RECT> answered;
  int kind = static_cast<int>(frame->windowFlags());
  auto known = answered.find(kind);
  if (known != answered.end()) {
    *extents = known->second;
    return true;
  }
  if (!askWindowManager(connection, frame, extents)) return false;
  answered[kind] = *extents;
  return true;
}

}  // namespace vornplatform
