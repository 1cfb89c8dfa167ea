// Test hooks of the notification-area icon, the minimise path and wave sounds: records of
// what was asked, a faked notification area, and what a person does with the icon.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace vorntest {

// --- Notification area -----------------------------------------------------------------------
// Every Shell_NotifyIconA call since the last clear, oldest first.
struct TrayCall {
  DWORD message;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
  HWND window;
  UINT id;
  UINT callbackMessage;
  HICON icon;
  std::string tip;
  BOOL result;
};
VORNAPI std::vector<TrayCall> recordedTrayCalls();
VORNAPI void clearTrayCalls();
// Whether the desktop has a notification area, and whether it reports double clicks: faked
// until clearTrayArea() asks the desktop again. With a faked area no Qt icon is made.
VORNAPI void setTrayAreaAvailable(bool available, bool reportsDoubleClicks = true);
VORNAPI void clearTrayArea();
// Whether the icon (window, id) is shown now.
VORNAPI bool trayIconShown(HWND window, UINT id);
// A click or a double click on the icon, as the desktop reports it; false when it is not shown.
VORNAPI bool clickTrayIcon(HWND window, UINT id, bool doubleClick);

// --- Minimise path ---------------------------------------------------------------------------
// The window manager minimises the top-level window (as its title-bar button does).
VORNAPI bool minimizeByWindowManager(HWND hwnd);
// The window manager maximises or restores it (its title-bar button, a double click there).
VORNAPI bool maximizeByWindowManager(HWND hwnd, bool maximize);

// --- Sounds ----------------------------------------------------------------------------------
struct PlayedSound {
  std::string sound;  // the name as passed ("" for null)
  DWORD flags;
  BOOL result;
};
// Every PlaySoundA call since the last clear, oldest first (the latest 1,000).
VORNAPI std::vector<PlayedSound> recordedSounds();
VORNAPI void clearRecordedSounds();
// PlaySoundA plays through no device: a readable wave file succeeds at once (so SND_NOSTOP
// sees nothing playing), as a device would, until clearSoundDevice() uses the real one.
VORNAPI void useSilentSoundDevice();
VORNAPI void clearSoundDevice();

}  // namespace vorntest
