// Common dialogs (font, colour, open/save file, folder) and the shell calls of the layer:
// opening links and files with the desktop, and files dropped on a window.
#pragma once

#include "platform/win32_gdi.h"
#include "platform/win32_window.h"

// --- Font dialog -----------------------------------------------------------------------------
typedef UINT_PTR(CALLBACK* LPCFHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

struct CHOOSEFONTA {
  DWORD lStructSize;
  HWND hwndOwner;
  HDC hDC;
  LPLOGFONTA lpLogFont;
  INT iPointSize;  // tenths of a point
  DWORD Flags;
  COLORREF rgbColors;  // with CF_EFFECTS
  LPARAM lCustData;
  LPCFHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
  HINSTANCE hInstance;
  LPSTR lpszStyle;
  WORD nFontType;
  WORD wReserved;
  INT nSizeMin;
  INT nSizeMax;
};
typedef CHOOSEFONTA* LPCHOOSEFONTA;

#define CF_SCREENFONTS 0x00000001
#define CF_PRINTERFONTS 0x00000002
#define CF_BOTH (CF_SCREENFONTS | CF_PRINTERFONTS)
#define CF_INITTOLOGFONTSTRUCT 0x00000040
#define CF_EFFECTS 0x00000100
#define CF_ANSIONLY 0x00000400
#define CF_LIMITSIZE 0x00002000
#define CF_FIXEDPITCHONLY 0x00004000

// nFontType bits filled in on OK.
#define BOLD_FONTTYPE 0x0100
#define ITALIC_FONTTYPE 0x0200
#define REGULAR_FONTTYPE 0x0400
#define SCREEN_FONTTYPE 0x2000

// Shows the font dialog; TRUE and the record filled in when the user confirms, FALSE and the
// record untouched on cancel.
VORNAPI BOOL ChooseFontA(LPCHOOSEFONTA choose);

// --- Colour dialog ---------------------------------------------------------------------------
typedef UINT_PTR(CALLBACK* LPCCHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

struct CHOOSECOLORA {
  DWORD lStructSize;
  HWND hwndOwner;
  HWND hInstance;
  COLORREF rgbResult;
  COLORREF* lpCustColors;  // 16 entries, read and written back
  DWORD Flags;
  LPARAM lCustData;
  LPCCHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
};
typedef CHOOSECOLORA* LPCHOOSECOLORA;

#define CC_RGBINIT 0x00000001
#define CC_FULLOPEN 0x00000002
#define CC_PREVENTFULLOPEN 0x00000004
#define CC_SOLIDCOLOR 0x00000080
#define CC_ANYCOLOR 0x00000100

// Shows the colour dialog; TRUE with rgbResult (and the custom colours) on OK, FALSE and the
// record untouched on cancel.
VORNAPI BOOL ChooseColorA(LPCHOOSECOLORA choose);

// --- Open and save file dialogs --------------------------------------------------------------
typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;  // pairs "Description\0pattern;pattern\0", ended by an extra "\0"
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;  // 1-based; 0 takes the first pair
  LPSTR lpstrFile;     // in: initial name; out: the full path
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;  // out: the name without its folder (optional)
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;     // out: offset of the name in lpstrFile
  WORD nFileExtension;  // out: offset of the extension (after the dot), or of the end
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
  void* pvReserved;
  DWORD dwReserved;
  DWORD FlagsEx;
};
typedef OPENFILENAMEA* LPOPENFILENAMEA;

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_EXPLORER 0x00080000

// CommDlgExtendedError after a dialog returned FALSE: 0 when the user cancelled.
#define CDERR_GENERALCODES 0x0000
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define FNERR_BUFFERTOOSMALL 0x3003

// TRUE with lpstrFile (and nFileOffset, nFileExtension, lpstrFileTitle) filled in; FALSE on
// cancel or when the path does not fit in nMaxFile (then CommDlgExtendedError says
// FNERR_BUFFERTOOSMALL and the first two bytes of lpstrFile hold the size needed).
VORNAPI BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn);
VORNAPI BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn);
VORNAPI DWORD CommDlgExtendedError();

// --- Folder dialog -----------------------------------------------------------------------------
// An item list here is the chosen folder's path, a heap copy freed with CoTaskMemFree.
struct ITEMIDLIST;
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef int(CALLBACK* BFFCALLBACK)(HWND, UINT, LPARAM, LPARAM);

struct BROWSEINFOA {
  HWND hwndOwner;
  LPCITEMIDLIST pidlRoot;
  LPSTR pszDisplayName;  // out: the folder's own name, MAX_PATH bytes
  LPCSTR lpszTitle;
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;
  int iImage;
};
typedef BROWSEINFOA* LPBROWSEINFOA;

#define BIF_RETURNONLYFSDIRS 0x00000001
#define BIF_EDITBOX 0x00000010
#define BIF_NEWDIALOGSTYLE 0x00000040

// The chosen folder, or null on cancel.
VORNAPI LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA info);
// Copies the folder's path (at most MAX_PATH bytes with the NUL) into path.
VORNAPI BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);
VORNAPI void CoTaskMemFree(LPVOID memory);

// --- Opening with the desktop ------------------------------------------------------------------
// Values <= 32 are errors.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

// Opens links of the schemes http, https, ftp, mailto and news and "www." names (as http), and
// existing local files; anything else is refused. Returns a value > 32 on success.
VORNAPI HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                LPCSTR directory, INT showCommand);

// --- Dropped files -----------------------------------------------------------------------------
// A window that accepts files gets WM_DROPFILES with an HDROP in wParam; the receiver reads it
// with DragQueryFileA and frees it with DragFinish.
VORNAPI void DragAcceptFiles(HWND hwnd, BOOL accept);
// index 0xFFFFFFFF: the number of files. Otherwise the length of file index (without the NUL)
// when buffer is null, else the number of bytes copied (the name is cut to size - 1).
VORNAPI UINT DragQueryFileA(HDROP drop, UINT index, LPSTR buffer, UINT size);
VORNAPI BOOL DragQueryPoint(HDROP drop, LPPOINT point);
VORNAPI void DragFinish(HDROP drop);
