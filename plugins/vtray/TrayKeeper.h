// Hides the host's window into the notification area when it is minimised and brings it back
// from the icon: the tray icon's state, the window's state and the focus to give back.
#pragma once

#include "platform/win32.h"

class TrayKeeper {
 public:
  static const UINT kCallbackMessage = 0x8000;

  // Takes the host's icon (or a stock one when it has none) and the taskbar's message.
  void init(HINSTANCE instance);
  // A window still in the tray comes back, and the icon goes.
  void term(HWND window);
  // Follows the system window's messages; never takes one.
  void onWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // state 0 removes the icon (and gives the window the foreground and focus), any other
  // shows it; false when the desktop refused.
  bool setTrayIcon(HWND window, int state);
  void hideToTray(HWND window);
  void restoreFromTray(HWND window);

  bool inTray() const { return inTray_; }
  int shownState() const { return shownState_; }
  HICON icon() const { return icon_; }

 private:
  void onIconMouse(HWND window, LPARAM mouse);

  HICON icon_ = nullptr;
  bool ownIcon_ = false;
  int shownState_ = 0;
  bool inTray_ = false;
  bool armed_ = false;
  HWND savedFocus_ = nullptr;
  UINT taskbarCreated_ = 0;
};
