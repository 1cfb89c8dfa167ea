#include "plugins/NevStyle/InputFont.h"

InputFont::~InputFont() {
  if (font != nullptr) DeleteObject(font);
}

bool InputFont::apply(PlugsSession* session, HWND edit, const char* key) {
  if (session == nullptr || edit == nullptr) return false;
  FontRecord record = session->getFont(key);
  if (record.face == nullptr || record.face[0] == '\0') return false;
  HDC screen = GetDC(nullptr);
  int perInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  HFONT made = CreateFontA(-(record.size * perInch / 72), 0, 0, 0,
                           (record.style & 2) ? FW_BOLD : FW_NORMAL, (record.style & 1) ? 1 : 0,
                           (record.style & 4) ? 1 : 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, record.face);
  if (made == nullptr) return false;
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
  if (font != nullptr) DeleteObject(font);
  font = made;
  return true;
}
