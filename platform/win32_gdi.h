// Drawing of the layer: device contexts into a window's backing image, stock and created fonts,
// pens and brushes, text metrics, lines, rectangles and text, with Win32's pixel rules at 96 DPI.
#pragma once

#include "platform/win32_window.h"

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

#define LF_FACESIZE 32
struct LOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONTA* LPLOGFONTA;
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA keeps its Win32 size");

struct TEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
typedef TEXTMETRICA* LPTEXTMETRICA;

struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
};

// What GetObjectA reports for a bitmap (the layer keeps every bitmap at 32 bits per pixel).
struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};

struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};
typedef SCROLLINFO* LPSCROLLINFO;

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

// Pens, background modes, device capabilities.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define BS_SOLID 0
#define BS_NULL 1
#define TRANSPARENT 1
#define OPAQUE 2
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define CLR_INVALID 0xFFFFFFFF

// Font weights, character sets, pitch and family.
#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define OEM_CHARSET 255
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30

// DrawText formats.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000

// DrawTextExA's extra parameters; tab stops count average character widths.
struct DRAWTEXTPARAMS {
  UINT cbSize;
  int iTabLength;
  int iLeftMargin;
  int iRightMargin;
  UINT uiLengthDrawn;
};
typedef DRAWTEXTPARAMS* LPDRAWTEXTPARAMS;

// ExtTextOutA options.
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004
#define ETO_RTLREADING 0x0080

// Scroll bars.
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_LINEUP 0
#define SB_LINEDOWN 1
#define SB_PAGEUP 2
#define SB_PAGEDOWN 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_BOTTOM 7
#define SB_ENDSCROLL 8
#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL 0x0017

// Device contexts. GetDC(null) gives a screen context for measuring; every window context
// draws into the window's backing image.
VORNAPI HDC GetDC(HWND hwnd);
VORNAPI int ReleaseDC(HWND hwnd, HDC dc);
VORNAPI HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
VORNAPI BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
VORNAPI HDC CreateCompatibleDC(HDC dc);
VORNAPI BOOL DeleteDC(HDC dc);
VORNAPI int GetDeviceCaps(HDC dc, int index);

// Objects.
VORNAPI HGDIOBJ GetStockObject(int index);
VORNAPI HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
VORNAPI BOOL DeleteObject(HGDIOBJ object);
VORNAPI int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
VORNAPI HFONT CreateFontIndirectA(const LOGFONTA* font);
VORNAPI HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                          DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                          DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                          DWORD pitchAndFamily, LPCSTR faceName);
VORNAPI HPEN CreatePen(int style, int width, COLORREF color);
VORNAPI HBRUSH CreateSolidBrush(COLORREF color);
VORNAPI HBRUSH GetSysColorBrush(int index);
VORNAPI HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

// Colours and modes.
VORNAPI COLORREF SetTextColor(HDC dc, COLORREF color);
VORNAPI COLORREF GetTextColor(HDC dc);
VORNAPI COLORREF SetBkColor(HDC dc, COLORREF color);
VORNAPI COLORREF GetBkColor(HDC dc);
VORNAPI int SetBkMode(HDC dc, int mode);
VORNAPI COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
VORNAPI COLORREF GetPixel(HDC dc, int x, int y);

// Text.
VORNAPI BOOL GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics);
VORNAPI BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size);
VORNAPI BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
VORNAPI int DrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format);
// DrawTextA with the tab length and margins of params (null: as DrawTextA).
VORNAPI int DrawTextExA(HDC dc, LPSTR text, int length, LPRECT rect, UINT format,
                        LPDRAWTEXTPARAMS params);
// Text at (x, y), the rectangle filled with the background colour (ETO_OPAQUE) and clipping
// the text (ETO_CLIPPED); dx, when given, holds each character's advance.
VORNAPI BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text,
                         UINT count, const INT* dx);

// Lines and shapes: a rectangle or line excludes its right and bottom end.
VORNAPI BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
VORNAPI BOOL LineTo(HDC dc, int x, int y);
VORNAPI BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
VORNAPI BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
VORNAPI int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
VORNAPI int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
VORNAPI BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy,
                    DWORD rop);
#define SRCCOPY 0x00CC0020

// Arithmetic and scroll bars.
// a * b / c rounded to the nearest integer; -1 when c is 0.
VORNAPI int MulDiv(int a, int b, int c);
VORNAPI int GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
VORNAPI int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
VORNAPI int GetScrollPos(HWND hwnd, int bar);

// Rectangles.
VORNAPI BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
VORNAPI BOOL InflateRect(LPRECT rect, int dx, int dy);
VORNAPI BOOL OffsetRect(LPRECT rect, int dx, int dy);
VORNAPI BOOL PtInRect(const RECT* rect, POINT point);

// Font files added for this process only (the path is read with the layer's path rules).
// AddFontResourceA returns the number of fonts the file added, 0 when it is missing or not a
// font. Each add needs its own remove; RemoveFontResourceA fails for a file not added.
VORNAPI int AddFontResourceA(LPCSTR fileName);
VORNAPI BOOL RemoveFontResourceA(LPCSTR fileName);
