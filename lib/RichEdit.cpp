#include "lib/RichEdit.h"

#include <cstring>

#include "lib/Composite.h"
#include "lib/PictureDataObject.h"
#include "lib/RootWindow.h"

namespace {

const DWORD appendMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_FACE | CFM_SIZE | CFM_COLOR;
// Every attribute but the one that the range changes never read.
const DWORD rangeReadMask = 0xFEFFFFFF;

void sendFormat(HWND hwnd, WPARAM target, CHARFORMAT2A* format) {
  SendMessageA(hwnd, EM_SETCHARFORMAT, target, reinterpret_cast<LPARAM>(format));
}

CHARFORMAT2A readFormat(HWND hwnd, WPARAM target, DWORD mask) {
  CHARFORMAT2A format = {};
  format.cbSize = sizeof(format);
  format.dwMask = mask;
  SendMessageA(hwnd, EM_GETCHARFORMAT, target, reinterpret_cast<LPARAM>(&format));
  return format;
}

void setEffect(DWORD* effects, DWORD bit, bool on) {
  if (on)
    *effects |= bit;
  else
    *effects &= ~bit;
}

COLORREF complement(COLORREF colour) { return ~colour & 0xFFFFFF; }

bool startsWithNoCase(const char* text, const char* start) {
  for (; *start; ++text, ++start) {
    char c = *text;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != *start) return false;
  }
  return true;
}

}  // namespace

bool isOpenableLink(const char* text) {
  static const char* const starts[] = {"http://", "https://", "ftp://", "mailto:", "news:", "www."};
  if (!text) return false;
  for (const char* start : starts) {
    if (startsWithNoCase(text, start) && text[std::strlen(start)] != '\0') return true;
  }
  return false;
}

RichEdit::RichEdit(const char* name, int flags)
    : RichEditBase(name), font(nullptr), creationStyle(0), autoScroll(1) {
  textColour = 0;
  backgroundColour = 0xFFFFFF;
  if (!(flags & NoVerticalScroll)) creationStyle |= WS_VSCROLL;
  if (flags & HorizontalScroll) creationStyle |= WS_HSCROLL | ES_AUTOHSCROLL;
}

RichEdit::~RichEdit() {
  if (font) font->release();
  font = nullptr;
}

const char* RichEdit::typeName() const { return "richedit"; }

bool RichEdit::onMessage(const MSG& message) {
  if (message.message == WM_NOTIFY && message.lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(message.lParam);
    if (header->code == EN_LINK) {
      const ENLINK* link = reinterpret_cast<const ENLINK*>(message.lParam);
      if (link->msg == WM_LBUTTONDOWN) {
        openLink(*link);
        return true;
      }
    }
  }
  if (message.hwnd == hwnd && (message.message == WM_VSCROLL || message.message == WM_MOUSEWHEEL)) {
    followScroll(message);
    return true;
  }
  return RichEditBase::onMessage(message);
}

// After the control scrolled (the user's wheel or scroll bar), new text follows only while
// the view shows the end.
void RichEdit::followScroll(const MSG& message) {
  defaultProc(message);
  if (message.message == WM_VSCROLL && LOWORD(message.wParam) == SB_BOTTOM)
    autoScroll = 1;  // at the end without asking, as when the pane scrolls there itself
  else
    updateAutoScroll();
}

void RichEdit::openLink(const ENLINK& link) {
  LONG length = link.chrg.cpMax - link.chrg.cpMin;
  if (link.chrg.cpMin < 0 || length <= 0) return;
  char* text = new char[static_cast<size_t>(length) + 2]();
  TEXTRANGEA range = {link.chrg, text};
  SendMessageA(hwnd, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  text[length] = '\0';
  if (isOpenableLink(text)) ShellExecuteA(nullptr, "open", text, nullptr, nullptr, SW_SHOWNORMAL);
  delete[] text;
}

bool RichEdit::onSize(int type, int w, int h) {
  bool handled = RichEditBase::onSize(type, w, h);
  scrollToEnd();
  return handled;
}

void RichEdit::create() {
  HWND parentHandle = parent ? parent->getHwnd() : nullptr;
  DWORD style = static_cast<DWORD>(creationStyle) | WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP |
                ES_MULTILINE | ES_AUTOVSCROLL;
  hwnd = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, "RichEdit20A", "", style, 10, 10, 0,
                         0, parentHandle, nullptr, getModuleInstance(), nullptr);
  setReadOnly(true);
}

void RichEdit::clear() {
  autoScroll = 1;
  RichEditBase::clear();
}

bool RichEdit::hasFocus() { return hwnd && GetFocus() == hwnd; }

bool RichEdit::liftReadOnly(bool when) {
  if (!when) return false;
  SendMessageA(hwnd, EM_SETOPTIONS, ECOOP_AND, static_cast<LPARAM>(~ECO_READONLY & 0xFFFFFFFF));
  return true;
}

void RichEdit::restoreReadOnly() { SendMessageA(hwnd, EM_SETOPTIONS, ECOOP_OR, ECO_READONLY); }

void RichEdit::setText(const char* text) {
  bool focused = hasFocus();
  liftReadOnly(!autoScroll && focused);
  SendMessageA(hwnd, EM_SETSEL, static_cast<WPARAM>(-1), -1);

  CHARFORMAT2A format = readFormat(hwnd, SCF_DEFAULT, appendMask);
  format.dwMask = appendMask;
  format.crTextColor = textColour;
  format.dwEffects &= ~static_cast<DWORD>(CFE_AUTOCOLOR);
  if (font) {
    std::strncpy(format.szFaceName, font->getFace(), LF_FACESIZE - 1);
    format.szFaceName[LF_FACESIZE - 1] = '\0';
    format.yHeight = font->getSize() * 20;
    int style = font->getStyle();
    setEffect(&format.dwEffects, CFE_ITALIC, style & Font::Italic);
    setEffect(&format.dwEffects, CFE_BOLD, style & Font::Bold);
    setEffect(&format.dwEffects, CFE_UNDERLINE, style & Font::Underline);
  }
  sendFormat(hwnd, SCF_SELECTION, &format);
  SendMessageA(hwnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text ? text : ""));
  SendMessageA(hwnd, EM_SETMODIFY, TRUE, 0);

  if (autoScroll)
    scrollToEnd();
  else if (focused)
    restoreReadOnly();
}

int RichEdit::getTextLength() {
  GETTEXTLENGTHEX request = {GTL_DEFAULT, 0};
  return static_cast<int>(
      SendMessageA(hwnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
}

void RichEdit::setTextColour(COLORREF colour) { textColour = colour; }

void RichEdit::setBackgroundColour(COLORREF colour) {
  backgroundColour = colour;
  SendMessageA(hwnd, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(colour));
}

bool RichEdit::appendPicture(HBITMAP bitmap) {
  bool focused = hasFocus();
  liftReadOnly(!autoScroll && focused);
  LRESULT limit = SendMessageA(hwnd, EM_GETLIMITTEXT, 0, 0);
  SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(limit + 32), 0);
  bool inserted = insertPicture(hwnd, bitmap);
  if (autoScroll)
    scrollToEnd();
  else if (focused)
    restoreReadOnly();
  return inserted;
}

int RichEdit::lineAt(int x, int y) {
  POINTL point = {x, y};
  LRESULT index = SendMessageA(hwnd, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point));
  return lineFromChar(static_cast<int>(index));
}

int RichEdit::lineFromChar(int index) {
  return static_cast<int>(SendMessageA(hwnd, EM_EXLINEFROMCHAR, 0, index));
}

int RichEdit::getLine(int line, char* buffer, int size) {
  // The control writes up to the count in the first word and no terminator: ask for one less
  // than the buffer holds so the terminator always fits.
  if (!buffer || size < 2) return 0;
  int room = size - 1;
  WORD max = static_cast<WORD>(room > 0xFFFF ? 0xFFFF : room);
  std::memcpy(buffer, &max, sizeof(max));
  LRESULT copied =
      SendMessageA(hwnd, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer));
  int length = copied < 0 ? 0 : (copied > max ? max : static_cast<int>(copied));
  buffer[length] = '\0';
  return length;
}

void RichEdit::selectLine(int line, bool extend) {
  int start = static_cast<int>(SendMessageA(hwnd, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  int length = static_cast<int>(SendMessageA(hwnd, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
  select(start, length, extend);
}

void RichEdit::select(int start, int length, bool extend) {
  LPARAM end = extend ? start + length : start;
  SendMessageA(hwnd, EM_SETSEL, static_cast<WPARAM>(start), end);
}

void RichEdit::formatRange(int start, int length, RangeChange change, COLORREF text,
                           COLORREF background) {
  bool lifted = liftReadOnly(hasFocus());
  select(start, length, true);
  bool fromSelection = change == Background || change == AutoBackground;
  CHARFORMAT2A format =
      readFormat(hwnd, fromSelection ? SCF_SELECTION : SCF_DEFAULT, rangeReadMask);
  switch (change) {
    case Colour:
      format.dwMask = CFM_COLOR;
      format.crTextColor = text;
      format.dwEffects &= ~static_cast<DWORD>(CFE_AUTOCOLOR);
      break;
    case Background:
      format.dwMask = CFM_BACKCOLOR;
      format.crBackColor = background;
      format.dwEffects &= ~static_cast<DWORD>(CFE_AUTOBACKCOLOR);
      break;
    case AutoBackground:
      format.dwMask = CFM_BACKCOLOR;
      format.dwEffects = CFE_AUTOBACKCOLOR;
      break;
    case Colours:
      format.dwMask = CFM_COLOR | CFM_BACKCOLOR;
      format.crTextColor = text;
      format.crBackColor = background;
      format.dwEffects &= ~static_cast<DWORD>(CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR);
      break;
    case Inverse:
      format.dwMask = CFM_COLOR | CFM_BACKCOLOR;
      format.crTextColor = complement(format.crTextColor);
      format.crBackColor = (format.dwEffects & CFE_AUTOBACKCOLOR) ? complement(backgroundColour)
                                                                  : complement(format.crBackColor);
      format.dwEffects &= ~static_cast<DWORD>(CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR);
      break;
  }
  sendFormat(hwnd, SCF_SELECTION, &format);
  if (lifted) restoreReadOnly();
  select(start, length, false);
}

void RichEdit::setRangeColour(int start, int length, COLORREF colour) {
  formatRange(start, length, Colour, colour, 0);
}

void RichEdit::setRangeBackground(int start, int length, COLORREF colour) {
  formatRange(start, length, Background, 0, colour);
}

void RichEdit::clearRangeBackground(int start, int length) {
  formatRange(start, length, AutoBackground, 0, 0);
}

void RichEdit::setRangeColours(int start, int length, COLORREF text, COLORREF background) {
  formatRange(start, length, Colours, text, background);
}

void RichEdit::invertRange(int start, int length) { formatRange(start, length, Inverse, 0, 0); }

void RichEdit::setFont(Font* newFont) {
  // Take the new reference first: releasing the old one may delete a font that is also the
  // new one.
  if (newFont) newFont->addRef();
  if (font) font->release();
  font = newFont;
}

Font* RichEdit::getFont() { return font; }

void RichEdit::setAutoUrlDetect(bool on) {
  SendMessageA(hwnd, EM_AUTOURLDETECT, on ? TRUE : FALSE, 0);
  SendMessageA(hwnd, EM_SETEVENTMASK, 0, ENM_LINK);
}

void RichEdit::scrollToTop() { SendMessageA(hwnd, EM_LINESCROLL, 0, -getFirstVisibleLine()); }

void RichEdit::scrollToEnd() {
  SendMessageA(hwnd, WM_VSCROLL, SB_BOTTOM, 0);
  autoScroll = 1;
}

void RichEdit::scrollToLine(int line) {
  SendMessageA(hwnd, EM_LINESCROLL, 0, line - getFirstVisibleLine());
}

int RichEdit::getFirstVisibleLine() {
  return static_cast<int>(SendMessageA(hwnd, EM_GETFIRSTVISIBLELINE, 0, 0));
}

bool RichEdit::updateAutoScroll() {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(hwnd, SB_VERT, &info);
  long long end = static_cast<long long>(info.nPos) + info.nPage;
  if (info.nPage != 0 && info.nMax > end) {
    autoScroll = 0;
    return false;
  }
  autoScroll = 1;
  return true;
}
