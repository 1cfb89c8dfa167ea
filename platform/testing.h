// Test hooks of the platform layer: what a person does at the screen (click, type, drag, pick
// a menu item, answer a message box), faked system state, and ways to wait for and look at UI.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace vorntest {

// Mouse buttons for the input helpers (the same numbering the toolkit uses).
enum MouseButton { LeftButton = 1, RightButton = 2, MiddleButton = 4 };

// Modifier keys held during a key press or a click (combine with |).
enum KeyModifier { NoModifier = 0, ShiftKey = 1, ControlKey = 2, AltKey = 4 };

// --- Mouse and keyboard, through the real Qt event path --------------------------------------
// Coordinates are client coordinates of hwnd. The events go to the widget under the point (a
// child window's widget included; a point above a top-level window's client area, its bar), so event filters, subclassed procedures and capture see
// them as they would see a person's input. Each returns false for a dead window.

// Press and release a button.
VORNAPI bool clickAt(HWND hwnd, int x, int y, int button = LeftButton, int modifiers = NoModifier);
// Press, release, double-click, release, as Qt reports a double click.
VORNAPI bool doubleClickAt(HWND hwnd, int x, int y, int button = LeftButton);
// Press at (x1, y1), move there in a few steps holding the button, release at (x2, y2); the
// moves and the release go to the widget that got the press, as with a real mouse grab.
VORNAPI bool dragFrom(HWND hwnd, int x1, int y1, int x2, int y2, int button = LeftButton);
// Move the mouse without a button held.
VORNAPI bool moveMouseTo(HWND hwnd, int x, int y);
// Turn the wheel over the point by delta (120 a notch; positive turns it away from the user,
// which scrolls up).
VORNAPI bool wheelAt(HWND hwnd, int x, int y, int delta, int modifiers = NoModifier);
// The mouse leaves the window for a place outside every window of the program, as when it
// leaves the screen's window: what a window tracking the leave (TrackMouseEvent) is told.
VORNAPI bool moveMouseOutOf(HWND hwnd);

// Type each byte of text (8-bit, shown as the layer shows text) as a key press and release;
// '\n' and '\r' press Enter, '\t' Tab, '\b' Backspace.
VORNAPI bool typeText(HWND hwnd, const char* text);
// Press and release one virtual key with modifiers; autoRepeat marks the press as a repeat of
// a key held down.
VORNAPI bool pressKey(HWND hwnd, int virtualKey, int modifiers = NoModifier,
                      bool autoRepeat = false);

// --- Menus -----------------------------------------------------------------------------------
// Pick the item with this command id in the window's menu bar (searching submenus), as a click
// on it would: WM_COMMAND is posted to the window, so pump to see it arrive. False when the
// window has no such enabled item.
VORNAPI bool pickMenuItem(HWND hwnd, UINT id);
// The next TrackPopupMenu picks id (0: dismissed) without showing anything; answers queue up
// in order. Once answers were given, a pop-up without one is dismissed instead of shown, until
// clearPopupMenuAnswers() brings real pop-ups back.
VORNAPI void answerNextPopupMenu(UINT id);
// The same, but id 0 picks the item whose id is 0 (a pop-up menu may have one) instead of
// dismissing the menu.
VORNAPI void pickNextPopupMenuItem(UINT id);
VORNAPI void clearPopupMenuAnswers();

// --- Message boxes and beeps -----------------------------------------------------------------
// The next MessageBoxA returns button (IDOK, IDYES ...) without showing anything. Answers
// queue up in order. A box with no answer queued is shown for real (and blocks).
VORNAPI void answerNextMessageBox(int button);
struct ShownMessageBox {
  HWND owner;
  std::string caption;  // the bytes the caller passed ("Error" when it passed none)
  std::string text;
  UINT flags;  // the MB_ type word as passed
  int answer;  // what MessageBoxA returned
};
// Every box since the last clear, oldest first.
VORNAPI std::vector<ShownMessageBox> shownMessageBoxes();
// Forgets the boxes shown and the answers not used yet.
VORNAPI void clearMessageBoxes();
// The types passed to MessageBeep since the last clear, oldest first (the latest 1,000).
VORNAPI std::vector<UINT> recordedBeeps();
VORNAPI void clearRecordedBeeps();

// --- Faked system state ----------------------------------------------------------------------
// GetLocalTime answers time until clearLocalTime() goes back to the system's clock.
VORNAPI void setLocalTime(const SYSTEMTIME& time);
VORNAPI void clearLocalTime();
// SystemParametersInfoA(SPI_GETWORKAREA) answers area until clearWorkArea() goes back to
// the screen's own.
VORNAPI void setWorkArea(const RECT& area);
VORNAPI void clearWorkArea();
// GetKeyState reports the key down (high bit set) or up, whatever input arrives, until
// clearKeyStates() forgets every key set this way.
VORNAPI void setKeyState(int virtualKey, bool down);
VORNAPI void clearKeyStates();

// The command line GetCommandLineW returns: the 8-bit text given (read as the layer reads
// file names), until a null brings back the process's own.
VORNAPI void setCommandLine(const char* line);
// GetVersionExA answers the record given (dwOSVersionInfoSize is the caller's) instead of the
// kernel's, or refuses calls, until clearVersionHooks().
VORNAPI void setVersionAnswer(const OSVERSIONINFOEXA& answer);
enum VersionFailure { NoVersionFailure, FailExtendedVersionCalls, FailEveryVersionCall };
VORNAPI void setVersionFailure(VersionFailure failure);
VORNAPI void clearVersionHooks();

// --- Waiting -----------------------------------------------------------------------------------
// Runs Qt events and dispatches the messages posted to this thread's queue until done()
// holds or timeoutMs pass; returns whether done() held. A WM_QUIT met on the way stays queued.
VORNAPI bool pumpUntil(const std::function<bool()>& done, int timeoutMs);
// The same for a fixed time.
VORNAPI void pumpFor(int milliseconds);

// --- Looking at windows ------------------------------------------------------------------------
// Saves the window as shown, with its children (a top-level window with its menu bar), as a
// PNG file; false for a dead window or an unwritable path.
VORNAPI bool saveWindowPng(HWND hwnd, const char* path);
// The same picture as a new bitmap to read pixels from (DeleteObject it); null for a dead window.
VORNAPI HBITMAP windowPicture(HWND hwnd);
// Saves every visible top-level window at its screen position, on white, cut to the box that
// holds them; false when none is visible or the path is unwritable. A whole program does the
// same on its own when VORNITH_SCREENSHOT names a PNG file: after VORNITH_SCREENSHOT_DELAY
// milliseconds (default 3000) from its first GetMessageA, then it posts WM_QUIT.
VORNAPI bool saveScreenPng(const char* path);

}  // namespace vorntest

// Hooks of the control areas: rich edits, tab/tree/list controls, dialogs and the shell.
#include "platform/testing_richedit.h"
#include "platform/testing_controls.h"
#include "platform/testing_dialogs.h"
#include "platform/testing_shell.h"
