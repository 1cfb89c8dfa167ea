// Test support for the controls: a shown top-level panel whose own window procedure records
// the notifications its children send, so tests see what the parent's default processing gets.
#pragma once

#include "lib/Composite.h"
#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"

#include <string>

namespace controltest {

// Every WM_COMMAND and WM_NOTIFY that reached the panel's class procedure.
struct Notification {
  UINT message;
  WPARAM wParam;
  HWND from;
  UINT code;
};
inline std::vector<Notification>& notifications() {
  static std::vector<Notification> seen;
  return seen;
}

inline LRESULT CALLBACK panelProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND)
    notifications().push_back({message, wParam, reinterpret_cast<HWND>(lParam), HIWORD(wParam)});
  if (message == WM_NOTIFY && lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    notifications().push_back({message, wParam, header->hwndFrom, header->code});
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class Panel : public Composite {
 public:
  Panel() : Composite("panel") {}
  const char* typeName() const override { return "test panel"; }
  void create() override {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = panelProcedure;
    windowClass.lpszClassName = "ControlTestPanel";
    RegisterClassExA(&windowClass);  // fails harmlessly from the second test on
    hwnd = CreateWindowExA(0, "ControlTestPanel", "panel", WS_OVERLAPPEDWINDOW, 0, 0, 640, 400,
                           nullptr, nullptr, getModuleInstance(), nullptr);
    ShowWindow(hwnd, SW_SHOW);
  }
  void onChildRemoved(Window*) override {}
};

// Whether the layer provides the system control class (tests of controls whose backing is not
// in the build yet are skipped, not failed).
inline bool systemClassExists(const char* name) {
  WNDCLASSEXA info = {};
  info.cbSize = sizeof(info);
  return GetClassInfoExA(nullptr, name, &info) != 0;
}

// A toolkit with one shown panel to place controls in.
class ControlTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    notifications().clear();
    panel = new Panel();
    panel->createIn(root);
  }
  void TearDown() override {
    vorntest::clearKeyStates();
    delete panel;
    ToolkitTest::TearDown();
  }

  // The window's place in its parent's client area, as {x, y, w, h}.
  static std::vector<int> placement(HWND hwnd) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    POINT corner = {rect.left, rect.top};
    ScreenToClient(GetParent(hwnd), &corner);
    return {corner.x, corner.y, rect.right - rect.left, rect.bottom - rect.top};
  }

  static std::string textOf(HWND hwnd) {
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }

  Panel* panel = nullptr;
};

}  // namespace controltest
