// The X side of windows seen across processes: a UTF-8 property "_VORNITH_WINDOW" on each
// shown top-level window, read back from the window manager's client list (else the root's
// children), and the standard activation request for a found window.
#include "platform/ForeignWindows.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <strings.h>
#include <vector>

#include "platform/Handles.h"
#include "platform/TextCodec.h"
#include "platform/WindowAccess.h"
#include "platform/WindowIdentity.h"
#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

// The activation request says it comes from a pager-like tool acting for the user, so the
// window manager does not refuse it as focus stealing.
const uint32_t kSourceIsUser = 2;
const uint32_t kMaxFrame = 4096;
// Every window once active gets a handle: past this many the old ones are let go (they answer
// as dead handles), so a long session does not hold them all.
const size_t kMaxForeignHandles = 1024;

xcb_connection_t* connection() {
  ensureApplication();
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootOf(xcb_connection_t* c) {
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  return screen ? screen->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
  xcb_atom_t found = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return found;
}

struct Atoms {
  xcb_atom_t identity = XCB_ATOM_NONE;
  xcb_atom_t utf8 = XCB_ATOM_NONE;
  xcb_atom_t clientList = XCB_ATOM_NONE;
  xcb_atom_t activeWindow = XCB_ATOM_NONE;
  xcb_atom_t frameExtents = XCB_ATOM_NONE;
};

const Atoms& atoms(xcb_connection_t* c) {
  static std::once_flag once;
  static Atoms known;
  std::call_once(once, [c] {
    known.identity = atom(c, "_VORNITH_WINDOW");
    known.utf8 = atom(c, "UTF8_STRING");
    known.clientList = atom(c, "_NET_CLIENT_LIST");
    known.activeWindow = atom(c, "_NET_ACTIVE_WINDOW");
    known.frameExtents = atom(c, "_NET_FRAME_EXTENTS");
  });
  return known;
}

// Foreign handles: values from the layer's one counter, so they never meet a handle of ours.
struct ForeignTable {
  std::mutex lock;
  std::map<uint32_t, xcb_window_t> windows;
  std::map<xcb_window_t, uint32_t> handles;
};

ForeignTable& table() {
  static ForeignTable* instance = new ForeignTable;
  return *instance;
}

HWND handleFor(xcb_window_t window) {
  ForeignTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  auto known = t.handles.find(window);
  if (known != t.handles.end()) return handleOf(known->second);
  if (t.handles.size() >= kMaxForeignHandles) {
    t.handles.clear();
    t.windows.clear();
  }
  uint32_t value = nextHandleValue();
  t.handles[window] = value;
  t.windows[value] = window;
  return handleOf(value);
}

xcb_window_t windowOf(HWND hwnd) {
  uintptr_t value = reinterpret_cast<uintptr_t>(hwnd);
  if (value == 0 || value > UINT32_MAX) return XCB_WINDOW_NONE;
  ForeignTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  auto known = t.windows.find(static_cast<uint32_t>(value));
  return known == t.windows.end() ? static_cast<xcb_window_t>(XCB_WINDOW_NONE) : known->second;
}

std::vector<xcb_window_t> clientListOf(xcb_connection_t* c, xcb_window_t root) {
  std::vector<xcb_window_t> list;
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, root, atoms(c).clientList, XCB_ATOM_WINDOW, 0, 65536), nullptr);
  if (reply && reply->type == XCB_ATOM_WINDOW && reply->format == 32) {
    auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    list.assign(ids, ids + xcb_get_property_value_length(reply) / 4);
  }
  std::free(reply);
  return list;
}

// Without a window manager that keeps the list, every child of the root is a candidate.
std::vector<xcb_window_t> topLevelWindows(xcb_connection_t* c, xcb_window_t root) {
  std::vector<xcb_window_t> list = clientListOf(c, root);
  if (!list.empty()) return list;
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
  if (tree) {
    xcb_window_t* children = xcb_query_tree_children(tree);
    list.assign(children, children + xcb_query_tree_children_length(tree));
  }
  std::free(tree);
  return list;
}

bool readIdentity(xcb_connection_t* c, xcb_window_t window, WindowIdentity* out) {
  const Atoms& a = atoms(c);
  uint32_t words = kMaxWindowIdentity / 4 + 1;
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, a.identity, a.utf8, 0, words), nullptr);
  bool ok = reply && reply->type == a.utf8 && reply->format == 8 && reply->bytes_after == 0;
  if (ok) {
    ok = parseWindowIdentity(static_cast<const char*>(xcb_get_property_value(reply)),
                             static_cast<size_t>(xcb_get_property_value_length(reply)), out);
  }
  std::free(reply);
  return ok;
}

bool isOurs(xcb_window_t window) {
  for (const WindowPtr& w : allWindows()) {
    if (w->frame && w->frame->internalWinId() == window) return true;
  }
  return false;
}

bool matches(const WindowIdentity& id, LPCSTR className, const std::string& title, bool anyTitle) {
  if (className && strcasecmp(id.className.c_str(), className) != 0) return false;
  return anyTitle || id.title == title;
}

}  // namespace

void publishWindowIdentity(const WindowRecord& w) {
  if (w.parent || !w.frame || !w.frame->internalWinId()) return;
  xcb_connection_t* c = connection();
  if (!c) return;
  const Atoms& a = atoms(c);
  std::string text = formatWindowIdentity(w.windowClass->name, qStringToBytes(bytesToQString(w.text)));
  if (text.size() > kMaxWindowIdentity) text.resize(kMaxWindowIdentity);
  auto window = static_cast<xcb_window_t>(w.frame->internalWinId());
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, a.identity, a.utf8, 8,
                      static_cast<uint32_t>(text.size()), text.data());
  xcb_flush(c);
}

HWND findForeignWindow(LPCSTR className, LPCSTR title) {
  xcb_connection_t* c = connection();
  if (!c) return nullptr;
  // Titles travel as UTF-8: compare the one asked for in the same form.
  std::string wanted = title ? qStringToBytes(bytesToQString(title)) : std::string();
  for (xcb_window_t window : topLevelWindows(c, rootOf(c))) {
    WindowIdentity id;
    if (isOurs(window) || !readIdentity(c, window, &id)) continue;
    if (matches(id, className, wanted, title == nullptr)) return handleFor(window);
  }
  return nullptr;
}

bool isForeignHandle(HWND hwnd) { return windowOf(hwnd) != XCB_WINDOW_NONE; }

bool foreignWindowExists(HWND hwnd) {
  xcb_window_t window = windowOf(hwnd);
  xcb_connection_t* c = window ? connection() : nullptr;
  if (!c) return false;
  xcb_get_window_attributes_reply_t* reply =
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
  bool exists = reply != nullptr;
  std::free(reply);
  return exists;
}

bool activateForeignWindow(HWND hwnd) {
  if (!foreignWindowExists(hwnd)) return false;
  xcb_connection_t* c = connection();
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = windowOf(hwnd);
  message.type = atoms(c).activeWindow;
  message.data.data32[0] = kSourceIsUser;
  message.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(c, 0, rootOf(c),
                 XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(c);
  return true;
}

int foreignWindowText(HWND hwnd, LPSTR buffer, int size) {
  xcb_window_t window = windowOf(hwnd);
  xcb_connection_t* c = window ? connection() : nullptr;
  WindowIdentity id;
  if (!c || !buffer || size <= 0 || !readIdentity(c, window, &id)) return 0;
  size_t n = id.title.size() < static_cast<size_t>(size - 1) ? id.title.size() : size - 1;
  std::memcpy(buffer, id.title.data(), n);
  buffer[n] = 0;
  return static_cast<int>(n);
}

HWND foreignActiveWindow() {
  xcb_connection_t* c = connection();
  if (!c) return nullptr;
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, rootOf(c), atoms(c).activeWindow, XCB_ATOM_WINDOW, 0, 1), nullptr);
  xcb_window_t window = XCB_WINDOW_NONE;
  if (reply && reply->type == XCB_ATOM_WINDOW && reply->format == 32 &&
      xcb_get_property_value_length(reply) == 4) {
    std::memcpy(&window, xcb_get_property_value(reply), sizeof window);
  }
  std::free(reply);
  return window != XCB_WINDOW_NONE && !isOurs(window) ? handleFor(window) : nullptr;
}

// The three questions go out together: one round trip's wait.
bool foreignWindowRects(HWND hwnd, RECT* windowRect, RECT* clientRect) {
  xcb_window_t window = windowOf(hwnd);
  xcb_connection_t* c = window ? connection() : nullptr;
  if (!c) return false;
  xcb_get_geometry_cookie_t size = xcb_get_geometry(c, window);
  xcb_translate_coordinates_cookie_t place = xcb_translate_coordinates(c, window, rootOf(c), 0, 0);
  xcb_get_property_cookie_t frame =
      xcb_get_property(c, 0, window, atoms(c).frameExtents, XCB_ATOM_CARDINAL, 0, 4);
  xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, size, nullptr);
  xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(c, place, nullptr);
  xcb_get_property_reply_t* e = xcb_get_property_reply(c, frame, nullptr);
  bool ok = g && at;
  if (ok) {
    uint32_t extents[4] = {0, 0, 0, 0};  // left, right, top, bottom
    if (e && e->type == XCB_ATOM_CARDINAL && e->format == 32 &&
        xcb_get_property_value_length(e) == sizeof extents) {
      std::memcpy(extents, xcb_get_property_value(e), sizeof extents);
    }
    RECT inside{at->dst_x, at->dst_y, at->dst_x + g->width, at->dst_y + g->height};
    if (clientRect) *clientRect = RECT{0, 0, g->width, g->height};
    // Another program's property: a frame wider than any screen is not believed.
    auto extent = [&extents](int i) {
      return static_cast<LONG>(std::min<uint32_t>(extents[i], kMaxFrame));
    };
    if (windowRect) {
      *windowRect = RECT{inside.left - extent(0), inside.top - extent(2), inside.right + extent(1),
                         inside.bottom + extent(3)};
    }
  }
  std::free(g);
  std::free(at);
  std::free(e);
  return ok;
}

}  // namespace vornplatform
