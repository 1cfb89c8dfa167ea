#include "lib/Button.h"

#include "lib/Composite.h"
#include "lib/RootWindow.h"

bool Button::onMessage(const MSG& message) {
  if (message.message == WM_COMMAND && HIWORD(message.wParam) == BN_CLICKED) {
    onClick();
    return false;  // the parent's default processing still sees the click
  }
  return Window::onMessage(message);
}

void Button::create() {
  HWND parentHandle = parent ? parent->getHwnd() : nullptr;
  hwnd = CreateWindowExA(0, "button", getName(), buttonStyle | WS_CHILD | WS_VISIBLE, 10, 10, 0, 0,
                         parentHandle, nullptr, getModuleInstance(), nullptr);
}

void Button::onClick() {}

void Button::setText(const char* text) { SetWindowTextA(hwnd, text ? text : getName()); }

int Button::getText(char* buffer, int size) { return GetWindowTextA(hwnd, buffer, size); }

PushButton::PushButton(const char* text) : Button(text, BS_PUSHBUTTON) {}

const char* PushButton::typeName() const { return "pushbutton"; }

CheckBoxButton::CheckBoxButton(const char* text) : Button(text, BS_AUTOCHECKBOX) {}

const char* CheckBoxButton::typeName() const { return "checkboxbutton"; }

bool CheckBoxButton::isChecked() { return SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBoxButton::setChecked(bool on) {
  SendMessageA(hwnd, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  UpdateWindow(hwnd);
}

void CheckBoxButton::refreshCheck() {
  SendMessageA(hwnd, BM_SETCHECK, isChecked() ? BST_CHECKED : BST_UNCHECKED, 0);
}
