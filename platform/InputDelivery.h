// Internal to platform/: how Qt input events become window messages, shared by the mouse and
// focus handling (Input.cpp) and the keyboard (KeyInput.cpp).
#pragma once

#include <QKeyEvent>

#include "platform/win32_window.h"

namespace vornplatform {

// Sends an input message through the window's procedure chain. Answers the window whose class
// procedure it reached (the default processing), or null when a procedure swallowed it. A key
// message that a window leaves to the focus window reaches that one.
HWND deliverInput(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Lets a control's widget act on the event whose message reached its class procedure. The
// event ends there: none of the widget's ancestors sees it as input of its own.
void passToWidget(QObject* widget, QEvent* e);

// The window a window's widget (or a scroll area's viewport) stands for; null otherwise.
HWND hwndOfObject(QObject* object);
bool isControl(HWND hwnd);

// The key state that GetKeyState reports.
void noteModifiers(Qt::KeyboardModifiers modifiers);
void setKeyDown(int virtualKey, bool down);

// What GetMessagePos and GetMessageTime report while the input is handled.
void noteInputMessage(POINT screenPoint);

// A key event that arrived at a widget of window own becomes key messages; true when it was
// taken. Keys from the keyboard go to the focus window (whichever widget Qt gave them to); a
// key sent to a widget by code goes to that widget's window.
bool keyEventToMessages(HWND own, QKeyEvent* e, bool fromKeyboard);

}  // namespace vornplatform
