// Shared by the window tests: a registered class whose procedure records every message and
// can be told to answer some of them, plus bounded pumping.
#pragma once

#include <functional>
#include <vector>

#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace windowtest {

struct Seen {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<Seen>& seen() {
  static std::vector<Seen> list;
  return list;
}

// Answers a message instead of the default procedure when it returns true.
inline std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>& answer() {
  static std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)> hook;
  return hook;
}

inline LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  seen().push_back({hwnd, msg, wParam, lParam});
  LRESULT result = 0;
  if (answer() && answer()(hwnd, msg, wParam, lParam, &result)) return result;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

inline const char* className() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = recordingProc;
    wc.cbWndExtra = 16;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "VornTestWindow";
    registered = RegisterClassExA(&wc) != 0;
  }
  return "VornTestWindow";
}

inline HWND makeTop(int x = 10, int y = 20, int w = 300, int h = 200,
                    DWORD style = WS_OVERLAPPEDWINDOW) {
  return CreateWindowExA(0, className(), "top", style, x, y, w, h, nullptr, nullptr, nullptr,
                         nullptr);
}

inline HWND makeChild(HWND parent, int id, int x = 5, int y = 6, int w = 50, int h = 40) {
  return CreateWindowExA(0, className(), "child", WS_CHILD | WS_VISIBLE, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

inline std::vector<Seen> messagesOf(HWND hwnd, UINT msg) {
  std::vector<Seen> out;
  for (const Seen& s : seen()) {
    if (s.hwnd == hwnd && s.msg == msg) out.push_back(s);
  }
  return out;
}

// The messages of one window whose numbers lie in [from, to].
inline std::vector<Seen> messagesIn(HWND hwnd, UINT from, UINT to) {
  std::vector<Seen> out;
  for (const Seen& s : seen()) {
    if (s.hwnd == hwnd && s.msg >= from && s.msg <= to) out.push_back(s);
  }
  return out;
}

inline std::vector<UINT> sequenceOf(HWND hwnd) {
  std::vector<UINT> out;
  for (const Seen& s : seen()) {
    if (s.hwnd == hwnd) out.push_back(s.msg);
  }
  return out;
}

// The wParam of each message of one kind, in order.
inline std::vector<WPARAM> wParamsOf(HWND hwnd, UINT msg) {
  std::vector<WPARAM> out;
  for (const Seen& s : messagesOf(hwnd, msg)) out.push_back(s.wParam);
  return out;
}

// Resets the recorder and the answer hook between tests.
inline void reset() {
  seen().clear();
  answer() = nullptr;
}

// A shown top window that hands each WM_NOTIFY it gets to onNotify; when that returns true,
// *result is what the sender gets back.
inline HWND makeNotifiedTop(std::function<bool(const NMHDR*, LRESULT*)> onNotify, int w = 400,
                            int h = 400) {
  reset();
  HWND top = makeTop(40, 50, w, h);
  ShowWindow(top, SW_SHOW);
  answer() = [top, onNotify](HWND hwnd, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
    return hwnd == top && msg == WM_NOTIFY && onNotify(reinterpret_cast<NMHDR*>(lParam), result);
  };
  return top;
}

// Switches window style bits on or off after creation.
inline void setStyleBits(HWND hwnd, DWORD bits, bool on) {
  DWORD now = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(on ? now | bits : now & ~bits));
}

// Destroys a test's top window, lets the toolkit settle and clears the recorder.
inline void closeTop(HWND top) {
  if (IsWindow(top)) DestroyWindow(top);
  vornplatform::processEventsFor(1);
  reset();
}

}  // namespace windowtest
