// Owner-drawn menu items (the owner window measures and paints them) and window regions (the
// shape a window is cut to, e.g. a pop-up with its corners cut off).
#pragma once

#include "platform/win32_gdi.h"

#define WM_DRAWITEM 0x002B
#define WM_MEASUREITEM 0x002C

#define ODT_MENU 1
#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODS_SELECTED 0x0001
#define ODS_GRAYED 0x0002
#define ODS_DISABLED 0x0004
#define ODS_CHECKED 0x0008

#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3

// For a menu item CtlID is 0, itemID the command and hwndItem (DRAWITEMSTRUCT) the menu.
typedef struct tagMEASUREITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemWidth;
  UINT itemHeight;
  ULONG_PTR itemData;
} MEASUREITEMSTRUCT, *LPMEASUREITEMSTRUCT;

typedef struct tagDRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData;
} DRAWITEMSTRUCT, *LPDRAWITEMSTRUCT;

// Regions exclude their right and bottom edge, as rectangles do; DeleteObject frees them.
VORNAPI HRGN CreateRectRgn(int left, int top, int right, int bottom);
// Corners rounded by an ellipse of cx by cy.
VORNAPI HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int cx, int cy);
VORNAPI BOOL PtInRegion(HRGN region, int x, int y);
// The window takes the region over (the caller must not delete it); null removes the shape.
// Answers nonzero on success.
VORNAPI int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
// Copies the window's shape into region: its kind, or 0 (ERROR) when the window has none.
VORNAPI int GetWindowRgn(HWND hwnd, HRGN region);

// The window a context draws into; null for memory and screen contexts.
VORNAPI HWND WindowFromDC(HDC dc);

#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
// dest := a op b (b unused for RGN_COPY); the kind of the result, or 0 on failure.
VORNAPI int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode);
