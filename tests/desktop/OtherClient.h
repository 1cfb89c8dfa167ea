// Another program on a session's desktop, with its own X connection: it asks the window manager
// to maximise or restore a window with the standard request any program may send, reads what
// the window manager records, and shows a full-screen window of its own (a film, a game).
#pragma once

#include <string>
#include <vector>

#include "tests/desktop/ScreenImage.h"

struct _XDisplay;

class OtherClient {
 public:
  using WindowId = unsigned long;

  OtherClient() = default;
  ~OtherClient() { close(); }
  OtherClient(const OtherClient&) = delete;
  OtherClient& operator=(const OtherClient&) = delete;

  // environment: the session's, whose DISPLAY names the X server.
  bool open(const std::vector<std::string>& environment);
  void close();

  // The _NET_WM_STATE request for both maximised states: add them, or remove them.
  bool requestMaximized(WindowId window, bool maximized);
  // Asks the window manager to close the window, as its close box does.
  bool requestClose(WindowId window);
  // Whether the window manager records the window as maximised both ways.
  bool isMaximized(WindowId window);
  // The work area the window manager announces (_NET_WORKAREA).
  Rect workArea();

  // Maps a window of this client asking to be full screen; 0 when it could not.
  WindowId showFullScreenWindow();
  // Asks the window manager to activate a window, as a pager does for the user.
  bool activate(WindowId window);
  // Whether a window smaller than the screen is mapped over the point, whatever covers it.
  bool smallWindowMappedAt(Point where);

 private:
  unsigned long atom(const char* name);
  bool sendToRoot(WindowId window, const char* type, const std::vector<long>& data);

  _XDisplay* display_ = nullptr;
  WindowId own_ = 0;
};
