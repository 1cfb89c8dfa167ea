// Test support for the window toolkit: a started toolkit per test, windows that record the
// handler calls they receive, a shown host for layouts and a shown panel for the controls.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "lib/Container.h"
#include "lib/RootWindow.h"
#include "platform/testing.h"

using Log = std::vector<std::string>;

// A child window of the parent's platform window, or a top-level one under the root.
inline HWND makeProbeWindow(Window* parent, const char* className, const char* name) {
  HWND parentHandle = parent ? parent->getHwnd() : nullptr;
  DWORD style = parentHandle ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
  return CreateWindowExA(0, className, name, style, 0, 0, 120, 80, parentHandle, nullptr,
                         getModuleInstance(), nullptr);
}

// Registers a window class whose procedure is `procedure`.
inline void registerClass(const char* name, WNDPROC procedure) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.lpszClassName = name;
  RegisterClassExA(&windowClass);
}

// Logs every handler call as "name: call a,b"; handlers answer `handles`.
class ProbeWindow : public Window {
 public:
  explicit ProbeWindow(const char* name = "probe", Log* log = nullptr)
      : Window(name), log(log ? log : &ownLog) {}
  const char* typeName() const override { return "probe"; }
  void create() override { hwnd = makeProbeWindow(parent, className, getName()); }

  bool onClose() override { return note("close") && keepOnClose; }
  bool onCommand(int id) override { return note("command", id); }
  bool onDestroy() override {
    note("destroy");
    return Window::onDestroy();
  }
  bool onPaint() override { return note("paint") && false; }
  bool onMove(int x, int y) override { return note("move", x, y); }
  bool onSize(int type, int w, int h) override { return note("size " + num(type), w, h); }
  bool onChar(int code) override { return note("char", code); }
  bool onKey(int key, bool down) override { return note(down ? "key down" : "key up", key); }
  bool onMouseMove(int b, int x, int y) override { return note("mousemove " + num(b), x, y); }
  bool onMouseButton(int b, int x, int y, bool down) override {
    return note((down ? "down " : "up ") + num(b), x, y);
  }
  bool onDoubleClick(int b, int x, int y) override { return note("double " + num(b), x, y); }

  WNDPROC keptProcedure() const { return oldWindowProc; }
  void adopt(HWND handle) { hwnd = handle; }

  Log* log;
  Log ownLog;
  const char* className = "BlackHoleWindow";
  bool handles = true;
  bool keepOnClose = false;

 private:
  static std::string num(int n) { return std::to_string(n); }
  bool note(const std::string& call, int a = 0, int b = 0) {
    log->push_back(std::string(getName()) + ": " + call + " " + num(a) + "," + num(b));
    return handles;
  }
};

// A composite that logs what its children report; at the top it is a plain window.
class ProbeComposite : public Composite {
 public:
  explicit ProbeComposite(const char* name = "panel", Log* log = nullptr)
      : Composite(name), log(log ? log : &ownLog) {}
  const char* typeName() const override { return "probe composite"; }
  void create() override {
    if (withoutWindow)
      hwnd = nullptr;
    else if (parent && parent->getHwnd())
      Composite::create();
    else
      hwnd = makeProbeWindow(nullptr, "BlackHoleWindow", getName());
  }
  bool onChildVisibility(Window* child) override {
    return note("visibility", child) && Composite::onChildVisibility(child);
  }
  void onChildRemoved(Window* child) override { note("removed", child); }

  Log* log;
  Log ownLog;
  bool withoutWindow = false;

 private:
  bool note(const char* what, Window* child) {
    log->push_back(std::string(what) + " " + child->getName());
    return true;
  }
};

// A top-level container that lays out nothing itself and counts the layouts asked of it.
class Host : public Container {
 public:
  Host() : Container("Layout test") {}
  const char* typeName() const override { return "test host"; }
  void create() override { hwnd = makeProbeWindow(nullptr, "BlackHoleWindow", getName()); }
  void onChildRemoved(Window*) override {}
  void update() override { ++updates; }
  int updates = 0;
};

// A labelled child that shows its bounds (a push button).
class Leaf : public Window {
 public:
  explicit Leaf(const char* name) : Window(name) {}
  const char* typeName() const override { return "leaf"; }
  void create() override {
    hwnd = CreateWindowExA(0, "BUTTON", getName(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0,
                           0, getParent()->getHwnd(), nullptr, getModuleInstance(), nullptr);
  }
};

struct Box {
  int x, y, w, h;
  bool operator==(const Box& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};
inline std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.x << ", " << b.y << ", " << b.w << ", " << b.h << ")";
}

inline Box placed(Window* w) { return {w->left, w->top, w->width, w->height}; }

// The layer's rectangle of the window, in its parent's client coordinates.
inline Box layerPlacement(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  POINT corner = {r.left, r.top};
  ScreenToClient(GetParent(hwnd), &corner);
  return {corner.x, corner.y, r.right - r.left, r.bottom - r.top};
}

// Starts the toolkit with a fresh root for every test and deletes the root afterwards.
class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = new RootWindow();
    initToolkit(nullptr, 101, root);
  }
  void TearDown() override { delete root; }

  RootWindow* root = nullptr;
};

// Adds a shown 640 x 480 host for layout windows; windows given to keep() are deleted after
// the root, containers first (they are kept before what they hold).
class LayoutTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    root->addChild(host);
    host->move(0, 0, 640, 480);
    ShowWindow(host->getHwnd(), SW_SHOW);
  }
  void TearDown() override {
    ToolkitTest::TearDown();
    for (Window* window : owned) delete window;
    delete host;
  }
  template <class T>
  T* keep(T* window) {
    owned.push_back(window);
    return window;
  }
  Leaf* leaf(const char* name) { return keep(new Leaf(name)); }
  void mouse(Window* w, UINT message, WPARAM keys, int x, int y) {
    SendMessageA(w->getHwnd(), message, keys, MAKELPARAM(x, y));
  }

  Host* host = new Host;
  std::vector<Window*> owned;
};

// Every WM_COMMAND and WM_NOTIFY that reached the control panel's class procedure, so tests see
// what the parent's default processing gets.
struct Notification {
  UINT message;
  HWND from;
  UINT code;
};
inline std::vector<Notification>& notifications() {
  static std::vector<Notification> seen;
  return seen;
}

inline LRESULT CALLBACK panelProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND)
    notifications().push_back({message, reinterpret_cast<HWND>(lParam), HIWORD(wParam)});
  if (message == WM_NOTIFY && lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    notifications().push_back({message, header->hwndFrom, header->code});
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class Panel : public Composite {
 public:
  Panel() : Composite("panel") {}
  const char* typeName() const override { return "test panel"; }
  void create() override {
    registerClass("ControlTestPanel", panelProcedure);  // fails harmlessly after the first time
    hwnd = CreateWindowExA(0, "ControlTestPanel", "panel", WS_OVERLAPPEDWINDOW, 0, 0, 640, 400,
                           nullptr, nullptr, getModuleInstance(), nullptr);
    ShowWindow(hwnd, SW_SHOW);
  }
  void onChildRemoved(Window*) override {}
};

// A toolkit with one shown panel to place controls in; skipped, not failed, when the layer
// lacks the control class the test needs.
class ControlTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    notifications().clear();
    panel->createIn(root);
  }
  void TearDown() override {
    vorntest::clearKeyStates();
    delete panel;
    ToolkitTest::TearDown();
  }
  static bool lacksClass(const char* name) {
    WNDCLASSEXA info = {};
    info.cbSize = sizeof(info);
    return GetClassInfoExA(nullptr, name, &info) == 0;
  }
  static std::string textOf(HWND hwnd) {
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }

  Panel* panel = new Panel();
};
