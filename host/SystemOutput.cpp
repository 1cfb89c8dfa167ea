#include "host/SystemOutput.h"

#include "host/Console.h"
#include "host/SystemWindow.h"

SystemOutput::SystemOutput(SystemWindow* owner) : RichEdit("System Output", 0), owner(owner) {}

SystemOutput::~SystemOutput() {
  // The console must never point at a pane that is gone.
  if (getConsole() == this) setConsole(nullptr);
}

bool SystemOutput::onCreate() {
  setAutoUrlDetect(true);
  return RichEdit::onCreate();
}

bool SystemOutput::onDestroy() {
  if (getConsole() == this) setConsole(nullptr);
  return RichEdit::onDestroy();
}

void SystemOutput::setInput(Window* window) { input = window; }

bool SystemOutput::inForeground() {
  return owner && owner->getHwnd() && GetForegroundWindow() == owner->getHwnd();
}

void SystemOutput::focusInput() {
  if (input && inForeground()) input->setFocus();
}

// Modifiers and the keys that scroll the pane leave the focus where it is.
bool SystemOutput::keepsFocus(int key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU ||
         (key >= VK_PRIOR && key <= VK_HOME);
}

bool SystemOutput::onKey(int key, bool down) {
  if (key == VK_CONTROL) ctrlDown = down;
  if (key == VK_SHIFT) shiftDown = down;
  if (down && owner && owner->checkKeyPressed(key)) return true;
  if (!ctrlDown && !shiftDown && !keepsFocus(key)) {
    focusInput();
    return false;
  }
  return RichEdit::onKey(key, down);
}

// A character typed with Shift is a capital or a sign the user means to type: it goes on to
// the command line too (only Ctrl keeps it here).
bool SystemOutput::onChar(int code) {
  if (!ctrlDown) {
    focusInput();
    return false;
  }
  return RichEdit::onChar(code);
}
