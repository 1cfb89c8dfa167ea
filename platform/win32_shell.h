// The shell's notification-area icon, the program's icon, registered window messages, the
// desktop window, system commands and wave sounds, as the layer provides them.
#pragma once

#include "platform/win32_window.h"

// System commands (WM_SYSCOMMAND); the low four bits of wParam are the system's own.
#define SC_SIZE 0xF000
#define SC_MOVE 0xF010
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_CLOSE 0xF060
#define SC_KEYMENU 0xF100
#define SC_RESTORE 0xF120

// Notification-area icons.
#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002
#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004

struct NOTIFYICONDATAA {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[64];
};
typedef NOTIFYICONDATAA* PNOTIFYICONDATAA;

// NIM_ADD shows the icon when the desktop has a notification area (FALSE otherwise); the
// icon's clicks come to hWnd as uCallbackMessage with the mouse message in lParam.
VORNAPI BOOL Shell_NotifyIconA(DWORD message, PNOTIFYICONDATAA data);
// Index 0 of the program's own file (with or without ".exe") is the program's icon: the
// program module's registered icon of lowest id when it has one. Other files and indexes
// have none (null).
VORNAPI HICON ExtractIconA(HINSTANCE instance, LPCSTR fileName, UINT index);
// The same name (case ignored) gives the same message number, 0xC000 to 0xFFFF; 0 for none.
VORNAPI UINT RegisterWindowMessageA(LPCSTR name);
// A window covering the screen, never shown.
VORNAPI HWND GetDesktopWindow();
// The whole window's context; the layer draws windows without frames, so it measures as the
// client's does. Release it with ReleaseDC.
VORNAPI HDC GetWindowDC(HWND hwnd);

// Wave sounds.
#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008
#define SND_NOSTOP 0x0010
#define SND_PURGE 0x0040
#define SND_FILENAME 0x00020000
// Plays a RIFF PCM file; with SND_NOSTOP, FALSE while another sound plays. A null sound
// stops the playing one. No sound device or an unreadable file is FALSE, never a wait.
VORNAPI BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);

// Whether the desktop's notification area reports double clicks on icons; where it does not,
// a click is all a person can do.
VORNAPI BOOL VornTrayReportsDoubleClicks();

// Activates a top-level window of this program; returns the one active before.
VORNAPI HWND SetActiveWindow(HWND hwnd);
// Whether child is a descendant of parent (both live windows).
VORNAPI BOOL IsChild(HWND parent, HWND child);
// Debugger output: written to stderr when VORNITH_DEBUG_OUTPUT is set, else dropped.
VORNAPI void OutputDebugStringA(LPCSTR text);
