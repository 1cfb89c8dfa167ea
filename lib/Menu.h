// A platform menu: a top-level window's menu bar, or a pop-up menu that may also serve as a
// submenu. Items are addressed by command id; a chosen item reaches the owner's onCommand.
#pragma once

#include "platform/win32.h"

class Window;

class Menu {
 public:
  // Makes a menu bar (CreateMenu) or a pop-up menu (CreatePopupMenu).
  explicit Menu(bool isMenuBar);
  // The platform menu is left alone: a menu may still be attached or nested elsewhere.
  virtual ~Menu();

  // Pop-up menus only: shows the menu at (x, y) in the window's client coordinates; the
  // choice is posted to the window as WM_COMMAND.
  virtual void popup(Window* window, int x, int y);
  // Menu bars only: attaches the bar to the window.
  virtual void setOwner(Window* window);
  virtual HMENU getHandle();
  virtual void hide();
  virtual void show();
  virtual void appendItem(const char* text, int id);
  virtual void appendSeparator();
  // Only a pop-up menu can be nested; a menu bar is refused.
  virtual void appendSubMenu(const char* text, Menu* menu);
  virtual void appendCheckItem(const char* text, int id, bool checked);
  virtual void removeItem(int id);
  virtual void enable(int id);
  virtual void disable(int id);
  virtual void check(int id, bool on);
  // True only for an item whose whole state is "checked": a checked item that is also
  // disabled reads false.
  virtual bool isChecked(int id);
  virtual Menu* addRef();
  // Deletes the menu when the count reaches 0; returns the new count.
  virtual int release();

 private:
  // A bar shown on its owner must be redrawn after its items change.
  void itemsChanged();
  HWND ownerHandle() const;

  Window* owner;
  HMENU handle;
  unsigned char isMenuBar;
  unsigned char hidden;
  int refCount;
};
