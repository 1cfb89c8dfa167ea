#include "plugins/vaware/AlertPopup.h"

#include <cstdio>

#include "plugins/vaware/AlertGeometry.h"

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

void AlertPopup::show(const std::string& line, const FontRecord& font, const RECT& workArea,
                      int position, unsigned delayMs) {
  HWND edit = GetDlgItem(popup_, kEditId);
  if (edit == nullptr) return;
  SendMessageA(edit, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
  SetDlgItemTextA(popup_, kEditId, line.c_str());
  applyFont(edit, font);
  SIZE extent = measure(edit, line);
  int size = font.size > 0 ? font.size : kDefaultSize;
  AlertPlacement p = AlertGeometry::place(extent.cx, extent.cy, size, templateWidth_,
                                          workArea.right, workArea.bottom, position);
  MoveWindow(edit, 0, 0, p.width, p.height, TRUE);
  SetWindowPos(popup_, nullptr, p.x, p.y, p.width, p.height, 0);
  SetTimer(popup_, kHideTimer, delayMs, nullptr);
  ShowWindow(popup_, SW_SHOW);
}
