#include "lib/SimpleEdit.h"

#include "lib/Composite.h"
#include "lib/RootWindow.h"

SimpleEdit::SimpleEdit(const char* name) : TextControl(name) {}

const char* SimpleEdit::typeName() const { return "simple edit"; }

void SimpleEdit::create() {
  HWND parentHandle = parent ? parent->getHwnd() : nullptr;
  hwnd = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, "RichEdit20A", "",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL, 10, 10,
                         0, 0, parentHandle, nullptr, getModuleInstance(), nullptr);
  SendMessageA(hwnd, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
}

void SimpleEdit::setText(const char* text) {
  SendMessageA(hwnd, EM_SETSEL, 0, -1);
  SendMessageA(hwnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text ? text : ""));
  SendMessageA(hwnd, EM_SETSEL, static_cast<WPARAM>(-1), -1);
}

int SimpleEdit::getTextLength() { return GetWindowTextLengthA(hwnd); }

void SimpleEdit::setTextColour(COLORREF colour) {
  textColour = colour;
  CHARFORMAT2A format = {};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR;
  SendMessageA(hwnd, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  format.dwMask = CFM_COLOR;
  format.dwEffects &= ~static_cast<DWORD>(CFE_AUTOCOLOR);
  format.crTextColor = colour;
  SendMessageA(hwnd, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void SimpleEdit::setBackgroundColour(COLORREF colour) {
  backgroundColour = colour;
  SendMessageA(hwnd, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(colour));
}

bool SimpleEdit::onEnter() {
  clear();
  return true;
}
