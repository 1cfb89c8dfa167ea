// The sizes and fonts of window frames, captions and menus as the system reports them
// (SystemParametersInfoA with SPI_GETNONCLIENTMETRICS).
#pragma once

#include "platform/win32_gdi.h"

#define SPI_GETNONCLIENTMETRICS 0x0029

typedef struct tagNONCLIENTMETRICSA {
  UINT cbSize;
  int iBorderWidth;
  int iScrollWidth;
  int iScrollHeight;
  int iCaptionWidth;
  int iCaptionHeight;
  LOGFONTA lfCaptionFont;
  int iSmCaptionWidth;
  int iSmCaptionHeight;
  LOGFONTA lfSmCaptionFont;
  int iMenuWidth;
  int iMenuHeight;
  LOGFONTA lfMenuFont;
  LOGFONTA lfStatusFont;
  LOGFONTA lfMessageFont;
} NONCLIENTMETRICSA, *LPNONCLIENTMETRICSA;

// Sent to a window whose frame (non-client area) must be painted; wParam 1 for the whole frame.
#define WM_NCPAINT 0x0085

// The size of a menu's check mark (GetSystemMetrics).
#define SM_CXMENUCHECK 71
#define SM_CYMENUCHECK 72
