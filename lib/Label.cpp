#include "lib/Label.h"

#include "lib/Composite.h"
#include "lib/RootWindow.h"

namespace {
// Centres the text vertically in the label.
const DWORD centreImageStyle = 0x200;
}  // namespace

Label::Label(const char* text, bool centred) : Control(text), centred(centred) {}

const char* Label::typeName() const { return "label"; }

void Label::create() {
  HWND parentHandle = parent ? parent->getHwnd() : nullptr;
  DWORD style = WS_CHILD | WS_VISIBLE | SS_NOTIFY | (centred ? centreImageStyle : 0);
  hwnd = CreateWindowExA(0, "STATIC", getName(), style, 10, 10, 0, 0, parentHandle, nullptr,
                         getModuleInstance(), nullptr);
}

void Label::setText(const char* text) { SetWindowTextA(hwnd, text); }

int Label::getText(char* buffer, int size) { return GetWindowTextA(hwnd, buffer, size); }
