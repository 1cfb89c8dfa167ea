// Test harness for the layout windows: a toolkit root with a shown top-level host window, and
// a child's placement as the toolkit and as the layer see it.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "lib/Container.h"
#include "lib/RootWindow.h"

namespace layouttest {

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

// A labelled child that shows its bounds (a push button).
class Leaf : public Window {
 public:
  explicit Leaf(const char* name) : Window(name) {}
  const char* typeName() const override { return "leaf"; }
  void create() override {
    hwnd = CreateWindowExA(0, "BUTTON", getName(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                           0, 0, 0, 0, getParent()->getHwnd(), nullptr, getModuleInstance(), nullptr);
  }
};

// A top-level window of the toolkit's class that does no layout of its own.
class Host : public Container {
 public:
  explicit Host(int w = 640, int h = 480) : Container("Layout test"), w(w), h(h) {}
  const char* typeName() const override { return "test host"; }
  void create() override {
    hwnd = CreateWindowExA(0, "BlackHoleWindow", getName(), WS_OVERLAPPEDWINDOW, 0, 0, w, h,
                           nullptr, nullptr, getModuleInstance(), nullptr);
  }
  void onChildRemoved(Window*) override {}
  void update() override {}
  int w, h;
};

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = new RootWindow;
    initToolkit(nullptr, 101, root);
    root->addChild(host);
    host->move(0, 0, 640, 480);
    ShowWindow(host->getHwnd(), SW_SHOW);
  }
  void TearDown() override {
    delete root;
    // Containers go before what they hold (they are kept first).
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

  RootWindow* root = nullptr;
  Host* host = new Host;
  std::vector<Window*> owned;
};

}  // namespace layouttest
