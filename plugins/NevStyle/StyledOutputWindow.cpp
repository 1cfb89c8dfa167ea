#include "plugins/NevStyle/StyledOutputWindow.h"

StyledOutputWindow::StyledOutputWindow(const char* name, PlugsSession* session)
    : RichEdit(name, 0), style(session), menu((new Menu(false))->addRef()) {}

StyledOutputWindow::~StyledOutputWindow() {
  style.setOutput(nullptr, nullptr, 0);
  menu->release();
}

void StyledOutputWindow::create() {
  RichEdit::create();
  if (hwnd == nullptr) return;
  style.setOutput(this, "Lucida Console", 8);
  setAutoUrlDetect(true);
  DragAcceptFiles(hwnd, TRUE);
}

bool StyledOutputWindow::onMessage(const MSG& message) {
  if (message.hwnd == hwnd && message.message == WM_DROPFILES) {
    takeDrop(reinterpret_cast<HDROP>(message.wParam));
    return true;
  }
  return RichEdit::onMessage(message);
}

// Paths are as long as the drop made them: no fixed buffer cuts one.
void StyledOutputWindow::takeDrop(HDROP drop) {
  std::vector<std::string> paths;
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string path(length + 1, '\0');
    path.resize(DragQueryFileA(drop, i, &path[0], length + 1));
    paths.push_back(path);
  }
  DragFinish(drop);
  if (menuOwner != nullptr && !paths.empty()) menuOwner->onFilesDropped(paths);
}

bool StyledOutputWindow::onMouseButton(int buttons, int x, int y, bool down) {
  if (!down || !(buttons & 2)) return RichEdit::onMouseButton(buttons, x, y, down);
  if (menuOwner != nullptr) menuOwner->onOutputMenu(*menu);
  menuOpen = true;
  menu->popup(this, x, y);
  menuOpen = false;
  return true;
}

// The choice arrives posted, after the menu closed.
bool StyledOutputWindow::onCommand(int id) {
  if (menuOwner != nullptr) menuOwner->onOutputCommand(id);
  return true;
}
