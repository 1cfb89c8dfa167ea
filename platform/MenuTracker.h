// Internal to platform/: a pop-up menu being tracked: its open levels (the menu and the
// sub-menus opened from it), the mouse and keys while it is open, and the modal loop.
#pragma once

#include <QImage>
#include <QObject>
#include <memory>
#include <vector>

#include "platform/MenuWindow.h"

namespace vornplatform {

class MenuTracker {
 public:
  MenuTracker(HMENU menu, HWND owner, UINT flags);
  ~MenuTracker();
  MenuTracker(const MenuTracker&) = delete;
  MenuTracker& operator=(const MenuTracker&) = delete;

  // Shows the menu at the screen point (placed by the TPM_ alignment, kept on the work area)
  // and runs a message loop until it closes; true when an item was chosen (its id in chosen).
  // False at once for an empty menu, or while another menu is being tracked.
  bool track(int x, int y, UINT* chosen);
  // True while a menu is being tracked: a second one is refused until it closes.
  static bool busy();
  // The menu's window as it would show, painted off screen, frame included.
  QImage render();

  // Sends the window's Qt input (the mouse anywhere while the menu holds it, and the keys) here.
  void watch(MenuWindow& window);
  void cancel();

  void mouse(int type, int button, POINT screen);
  void key(int virtualKey);

 private:
  MenuWindow* top() { return levels_.back().get(); }
  int levelAt(POINT screen) const;  // the deepest open level under the point, or -1
  bool openSub(size_t level, int index, bool selectFirst);
  void closeFrom(size_t level);
  void choose(UINT id);
  void moveSelection(int step);
  void hover(size_t level, POINT screen);
  void release(size_t level, POINT screen, int button);
  POINT placeTop(int x, int y, SIZE size) const;
  POINT placeSub(size_t level, int index, SIZE size) const;

  HMENU menu_;
  HWND owner_;
  UINT flags_;
  std::vector<std::unique_ptr<MenuWindow>> levels_;
  std::unique_ptr<QObject> filter_;
  bool done_ = false;
  bool picked_ = false;
  UINT chosen_ = 0;
};

}  // namespace vornplatform
