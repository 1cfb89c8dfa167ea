#include "lib/RichEditBase.h"

RichEditBase::RichEditBase(const char* name) : EditBase(name, true), option(1) {}

int RichEditBase::getTextLength() { return GetWindowTextLengthA(hwnd); }

void RichEditBase::setOption(int value) { option = value; }

int RichEditBase::getOption() { return option; }

void RichEditBase::pageUp() { SendMessageA(hwnd, EM_SCROLL, SB_PAGEUP, 0); }

void RichEditBase::pageDown() { SendMessageA(hwnd, EM_SCROLL, SB_PAGEDOWN, 0); }
