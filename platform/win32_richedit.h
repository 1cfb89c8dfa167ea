// Edit and rich-edit control messages, styles, notifications and records ("EDIT",
// "RichEdit20A", "RICHEDIT"). Positions are byte offsets into the control's 8-bit text.
#pragma once

#include "platform/win32_gdi.h"
#include "platform/win32_ole.h"
#include "platform/win32_window.h"

// Edit styles.
#define ES_LEFT 0x0000L
#define ES_MULTILINE 0x0004L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NOHIDESEL 0x0100L
#define ES_READONLY 0x0800L
#define ES_WANTRETURN 0x1000L

// Edit messages.
#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_SCROLL 0x00B5
#define EM_LINESCROLL 0x00B6
#define EM_SCROLLCARET 0x00B7
#define EM_GETMODIFY 0x00B8
#define EM_SETMODIFY 0x00B9
#define EM_GETLINECOUNT 0x00BA
#define EM_LINEINDEX 0x00BB
#define EM_LINEFROMCHAR 0x00C9
#define EM_LINELENGTH 0x00C1
#define EM_REPLACESEL 0x00C2
#define EM_GETLINE 0x00C4
#define EM_LIMITTEXT 0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_GETFIRSTVISIBLELINE 0x00CE
#define EM_SETREADONLY 0x00CF
#define EM_GETLIMITTEXT 0x00D5
#define EM_CHARFROMPOS 0x00D7

// Edit notifications (WM_COMMAND), sent only when the event mask asks for them.
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400

// Rich-edit messages.
#define EM_EXGETSEL (WM_USER + 52)
#define EM_EXLIMITTEXT (WM_USER + 53)
#define EM_EXLINEFROMCHAR (WM_USER + 54)
#define EM_EXSETSEL (WM_USER + 55)
#define EM_GETCHARFORMAT (WM_USER + 58)
#define EM_GETEVENTMASK (WM_USER + 59)
#define EM_GETOLEINTERFACE (WM_USER + 60)
#define EM_GETSELTEXT (WM_USER + 62)
#define EM_SETBKGNDCOLOR (WM_USER + 67)
#define EM_SETCHARFORMAT (WM_USER + 68)
#define EM_SETEVENTMASK (WM_USER + 69)
#define EM_GETTEXTRANGE (WM_USER + 75)
#define EM_FINDWORDBREAK (WM_USER + 76)
#define EM_SETOPTIONS (WM_USER + 77)
#define EM_GETOPTIONS (WM_USER + 78)
#define EM_SETTEXTMODE (WM_USER + 89)
#define EM_GETTEXTMODE (WM_USER + 90)
#define EM_AUTOURLDETECT (WM_USER + 91)
#define EM_GETTEXTLENGTHEX (WM_USER + 95)

// Rich-edit notifications (WM_NOTIFY).
#define EN_LINK 0x070B

// EM_SETCHARFORMAT / EM_GETCHARFORMAT targets.
#define SCF_DEFAULT 0x0000
#define SCF_SELECTION 0x0001
#define SCF_ALL 0x0004

// CHARFORMAT2A masks and effects.
#define CFM_BOLD 0x00000001
#define CFM_ITALIC 0x00000002
#define CFM_UNDERLINE 0x00000004
#define CFM_BACKCOLOR 0x04000000
#define CFM_FACE 0x20000000
#define CFM_COLOR 0x40000000
#define CFM_SIZE 0x80000000
#define CFE_BOLD 0x00000001
#define CFE_ITALIC 0x00000002
#define CFE_UNDERLINE 0x00000004
#define CFE_AUTOBACKCOLOR 0x04000000
#define CFE_AUTOCOLOR 0x40000000

// EM_SETOPTIONS.
#define ECOOP_SET 0x0001
#define ECOOP_OR 0x0002
#define ECOOP_AND 0x0003
#define ECOOP_XOR 0x0004
#define ECO_READONLY 0x00000800

// EM_SETEVENTMASK.
#define ENM_NONE 0x00000000
#define ENM_CHANGE 0x00000001
#define ENM_UPDATE 0x00000002
#define ENM_LINK 0x04000000

// EM_SETTEXTMODE.
#define TM_PLAINTEXT 1
#define TM_RICHTEXT 2

// EM_GETTEXTLENGTHEX.
#define GTL_DEFAULT 0
#define GTL_USECRLF 1

// EM_FINDWORDBREAK codes.
#define WB_LEFT 0
#define WB_RIGHT 1
#define WB_ISDELIMITER 2
#define WB_CLASSIFY 3
#define WB_MOVEWORDLEFT 4
#define WB_MOVEWORDRIGHT 5
#define WB_LEFTBREAK 6
#define WB_RIGHTBREAK 7

struct CHARRANGE {
  LONG cpMin;
  LONG cpMax;
};

struct TEXTRANGEA {
  CHARRANGE chrg;
  LPSTR lpstrText;
};

struct GETTEXTLENGTHEX {
  DWORD flags;
  UINT codepage;
};

// The first rich edit's record: the leading fields of CHARFORMAT2A.
struct CHARFORMATA {
  UINT cbSize;
  DWORD dwMask;
  DWORD dwEffects;
  LONG yHeight;
  LONG yOffset;
  COLORREF crTextColor;
  BYTE bCharSet;
  BYTE bPitchAndFamily;
  char szFaceName[LF_FACESIZE];
};
static_assert(sizeof(CHARFORMATA) == 60, "CHARFORMATA keeps its Windows size");
typedef CHARFORMATA CHARFORMAT;

struct CHARFORMAT2A {
  UINT cbSize;
  DWORD dwMask;
  DWORD dwEffects;
  LONG yHeight;
  LONG yOffset;
  COLORREF crTextColor;
  BYTE bCharSet;
  BYTE bPitchAndFamily;
  char szFaceName[LF_FACESIZE];
  WORD wWeight;
  SHORT sSpacing;
  COLORREF crBackColor;
  DWORD lcid;
  DWORD dwReserved;
  SHORT sStyle;
  WORD wKerning;
  BYTE bUnderlineType;
  BYTE bAnimation;
  BYTE bRevAuthor;
  BYTE bReserved1;
};
static_assert(sizeof(CHARFORMAT2A) == 84, "CHARFORMAT2A keeps its Windows size");
typedef CHARFORMAT2A CHARFORMAT2;
typedef TEXTRANGEA TEXTRANGE;

struct ENLINK {
  NMHDR nmhdr;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  CHARRANGE chrg;
};
