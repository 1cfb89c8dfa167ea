#include "lib/EditBase.h"

EditBase::EditBase(const char* name, bool rich)
    : Control(name), textColour(0), backgroundColour(0), readOnly(0), rich(rich ? 1 : 0) {}

void EditBase::clear() {
  SendMessageA(hwnd, EM_SETSEL, 0, -1);
  SendMessageA(hwnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
}

void EditBase::setReadOnly(bool on) {
  readOnly = on ? 1 : 0;
  SendMessageA(hwnd, EM_SETREADONLY, on ? TRUE : FALSE, 0);
}

bool EditBase::isReadOnly() { return readOnly != 0; }

int EditBase::getText(char* buffer, int size) { return GetWindowTextA(hwnd, buffer, size); }

bool EditBase::isRich() { return rich != 0; }

COLORREF EditBase::getTextColour() { return textColour; }

COLORREF EditBase::getBackgroundColour() { return backgroundColour; }
