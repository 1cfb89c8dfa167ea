// Drawing calls the flat control skin needs beside the basic set: rounded rectangles, polylines,
// the button and text constants, and the display depth that tests can change.
#pragma once

#include "platform/win32_gdi.h"

#define BST_INDETERMINATE 0x0002
#define DT_RTLREADING 0x00020000
#define SM_CXHTHUMB 10
#define SRCAND 0x008800C6
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))

// A rectangle with corners rounded by an ellipse of cx by cy, filled with the brush and
// outlined with the pen; like Rectangle it excludes the right and bottom edge.
VORNAPI BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int cx, int cy);
// Lines from point to point, each excluding its end point, as LineTo draws them.
VORNAPI BOOL Polyline(HDC dc, const POINT* points, int count);
