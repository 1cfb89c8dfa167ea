#include "plugins/vtray/TrayKeeper.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const kTip = "vornith 2";

void debugLine(const char* format, HWND window) {
  char line[256];
  snprintf(line, sizeof line, format, static_cast<void*>(window));
  OutputDebugStringA(line);
}

}  // namespace

void TrayKeeper::init(HINSTANCE instance) {
  if (icon_ == nullptr) {
    icon_ = ExtractIconA(instance, "vornith.exe", 0);
    ownIcon_ = icon_ != nullptr;
    if (icon_ == nullptr) icon_ = LoadIconA(nullptr, IDI_APPLICATION);
  }
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

void TrayKeeper::term(HWND window) {
  if (inTray_) restoreFromTray(window);
  if (ownIcon_) DestroyIcon(icon_);
  icon_ = nullptr;
  ownIcon_ = false;
}

bool TrayKeeper::setTrayIcon(HWND window, int state) {
  if (state == shownState_) return true;
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_;
  snprintf(data.szTip, sizeof data.szTip, "%s", kTip);
  if (state == 0) {
    Shell_NotifyIconA(NIM_DELETE, &data);
    SetForegroundWindow(window);
    SetActiveWindow(window);
    SetFocus(window);
    shownState_ = 0;
    return true;
  }
  if (!Shell_NotifyIconA(shownState_ == 0 ? NIM_ADD : NIM_MODIFY, &data)) return false;
  shownState_ = state;
  return true;
}

// Only a window whose icon could be shown is hidden: without a notification area it stays
// minimised, where the desktop can still reach it.
void TrayKeeper::hideToTray(HWND window) {
  if (inTray_ || !setTrayIcon(window, 1)) return;
  inTray_ = true;
  ShowWindow(window, SW_HIDE);
}

void TrayKeeper::restoreFromTray(HWND window) {
  if (!inTray_) return;
  inTray_ = false;
  ShowWindow(window, SW_SHOWNORMAL);
  setTrayIcon(window, 0);
  SetForegroundWindow(window);
  bool mine = savedFocus_ != nullptr && IsWindow(savedFocus_) &&
              (savedFocus_ == window || IsChild(window, savedFocus_));
  if (mine) SetFocus(savedFocus_);
  debugLine(">> focused win : 0x%p\n", savedFocus_);
}

void TrayKeeper::onIconMouse(HWND window, LPARAM mouse) {
  if (mouse == WM_LBUTTONDBLCLK) {
    armed_ = true;
  } else if (mouse == WM_LBUTTONUP) {
    // Where the desktop never reports double clicks, a click is all a person can do.
    if (armed_ || !VornTrayReportsDoubleClicks()) restoreFromTray(window);
    armed_ = false;
  }
}

void TrayKeeper::onWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE && wParam == SIZE_MINIMIZED) {
    hideToTray(window);
  } else if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) {
    savedFocus_ = GetFocus();
    debugLine("<< focused win : 0x%p\n", savedFocus_);
  } else if (message == kCallbackMessage) {
    onIconMouse(window, lParam);
  } else if (taskbarCreated_ != 0 && message == taskbarCreated_ && inTray_) {
    setTrayIcon(window, 0);
    if (!setTrayIcon(window, 1)) restoreFromTray(window);  // no icon: the window comes back
  }
}
