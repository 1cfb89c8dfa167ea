// Modeless dialogs made from templates that a module registers under resource numbers (the
// layer's stand-in for dialog resources), and the dialog-item helpers.
#pragma once

#include "platform/win32_window.h"

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define WM_INITDIALOG 0x0110
#define DS_SETFONT 0x00000040L
#define DS_MODALFRAME 0x00000080L

// One control of a template; positions and sizes in dialog units.
struct VornDialogItem {
  const char* className;
  const char* text;
  int id;
  DWORD style;
  DWORD exStyle;
  short x, y, cx, cy;
};

// A dialog: positions and sizes in dialog units of its font (with DS_SETFONT; the system's
// dialog font otherwise).
struct VornDialogTemplate {
  DWORD style;
  DWORD exStyle;
  short x, y, cx, cy;
  const char* title;
  const char* fontFace;
  int pointSize;
  const VornDialogItem* items;
  int itemCount;
};

// Keeps a copy of the template as dialog id of module (the program or a loaded library);
// registering an id again replaces it. FALSE for a null template or module.
VORNAPI BOOL VornRegisterDialogTemplate(HMODULE module, int id, const VornDialogTemplate* dialog);

// Creates the dialog of template MAKEINTRESOURCEA(id) of instance, hidden unless it has
// WS_VISIBLE, sends WM_INITDIALOG (param in lParam) to proc; null when the module has no such
// template. A FALSE answer of proc leaves a message to the default handling; WM_CLOSE then
// becomes WM_COMMAND IDCANCEL, as for any dialog.
VORNAPI HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc,
                                LPARAM param);
VORNAPI HWND GetDlgItem(HWND dialog, int id);
VORNAPI BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
VORNAPI UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size);
