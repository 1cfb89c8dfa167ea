#include "plugins/vaware/AlertPopup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "plugins/vaware/AlertRules.h"

namespace {

INT_PTR CALLBACK popupProc(HWND popup, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (wParam != IDOK) return FALSE;
      ShowWindow(popup, SW_HIDE);
      return TRUE;
    case WM_TIMER:
      if (wParam != AlertPopup::kHideTimer) return FALSE;
      KillTimer(popup, AlertPopup::kHideTimer);  // one hide per alert
      ShowWindow(popup, SW_HIDE);
      return TRUE;
    default:
      return FALSE;
  }
}

const VornDialogItem kItems[] = {{"RICHEDIT", "", AlertPopup::kEditId,
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE |
                                      ES_READONLY | ES_WANTRETURN,
                                  0, 0, 0, 186, 94}};
const VornDialogTemplate kTemplate{WS_POPUP | DS_MODALFRAME | DS_SETFONT,
                                   0, 0, 0, 186, 94, "", "MS Sans Serif", 8, kItems, 1};

const int kDefaultSize = 10;
// Longer lines are cut before they are measured: no screen shows more than this in the pop-up.
const size_t kMostShownBytes = 4096;
const int kCutTries = 4;

}  // namespace

void AlertPopup::registerTemplate(HMODULE module) {
  VornRegisterDialogTemplate(module, kDialogId, &kTemplate);
}

bool AlertPopup::create(HMODULE module, HWND owner) {
  popup_ = CreateDialogParamA(module, MAKEINTRESOURCEA(kDialogId), owner, popupProc, 0);
  if (popup_ == nullptr) return false;
  RECT outer{};
  GetWindowRect(popup_, &outer);
  templateWidth_ = outer.right - outer.left;
  SetWindowPos(popup_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ShowWindow(popup_, SW_SHOW);
  ShowWindow(popup_, SW_HIDE);
  return true;
}

void AlertPopup::destroy() {
  if (popup_ == nullptr) return;
  KillTimer(popup_, kHideTimer);
  DestroyWindow(popup_);
  popup_ = nullptr;
}

void AlertPopup::applyFont(HWND edit, const FontRecord& font) const {
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
  SendMessageA(edit, EM_GETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&format));
  format.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
  if (font.face != nullptr) snprintf(format.szFaceName, sizeof format.szFaceName, "%s", font.face);
  format.yHeight = (font.size > 0 ? font.size : kDefaultSize) * 20;
  const DWORD styled = CFE_ITALIC | CFE_BOLD | CFE_UNDERLINE;
  format.dwEffects &= ~styled;
  if (font.style & 1) format.dwEffects |= CFE_ITALIC;
  if (font.style & 2) format.dwEffects |= CFE_BOLD;
  if (font.style & 4) format.dwEffects |= CFE_UNDERLINE;
  format.crTextColor = 0;
  SendMessageA(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  // Second pass: an explicit black, never the automatic colour.
  CHARFORMATA colour{};
  colour.cbSize = sizeof colour;
  colour.dwMask = CFM_COLOR;
  SendMessageA(edit, EM_GETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&colour));
  colour.dwMask = CFM_COLOR;
  colour.crTextColor = RGB(0, 0, 0);
  colour.dwEffects = 0;
  SendMessageA(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&colour));
}

SIZE AlertPopup::measure(HWND edit, const std::string& line) const {
  SIZE extent{0, 0};
  HDC dc = GetWindowDC(edit);
  if (dc == nullptr) return extent;
  GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &extent);
  ReleaseDC(edit, dc);
  return extent;
}

AlertPlacement AlertPopup::fill(HWND edit, const std::string& text, const FontRecord& font,
                                const RECT& workArea, int position) const {
  SetDlgItemTextA(popup_, kEditId, text.c_str());
  applyFont(edit, font);
  SIZE extent = measure(edit, text);
  int size = font.size > 0 ? font.size : kDefaultSize;
  return AlertGeometry::place(extent.cx, extent.cy, size, templateWidth_, workArea, position);
}

void AlertPopup::show(const std::string& line, const FontRecord& font, const RECT& workArea,
                      int position, unsigned delayMs) {
  HWND edit = GetDlgItem(popup_, kEditId);
  if (edit == nullptr) return;
  SendMessageA(edit, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
  size_t keep = kMostShownBytes;
  AlertPlacement p = fill(edit, AlertRules::cutLine(line, keep), font, workArea, position);
  // Too many lines for the work area: keep the share of the text that fits, and measure again.
  for (int tries = 0; p.shownLines < p.lines && tries < kCutTries && keep > 0; ++tries) {
    size_t shown = std::min(keep, line.size());
    size_t fewer = shown * static_cast<size_t>(p.shownLines) / static_cast<size_t>(p.lines);
    size_t mark = std::strlen(AlertRules::kCutMark);
    keep = fewer > mark && fewer - mark < shown ? fewer - mark : shown / 2;
    p = fill(edit, AlertRules::cutLine(line, keep), font, workArea, position);
  }
  MoveWindow(edit, 0, 0, p.width, p.height, TRUE);
  SetWindowPos(popup_, nullptr, p.x, p.y, p.width, p.height, 0);
  SetTimer(popup_, kHideTimer, delayMs, nullptr);
  ShowWindow(popup_, SW_SHOW);
}
