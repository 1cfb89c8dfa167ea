// Test harness for the layout windows: a toolkit root, a top-level host window to put
// containers in, and helpers that read a child's placement from the toolkit and from the layer.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "lib/Container.h"
#include "lib/RootWindow.h"
#include "platform/win32.h"

namespace layouttest {

// A placement: left, top, width, height.
struct Box {
  int x, y, w, h;
  bool operator==(const Box& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

inline std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.x << ", " << b.y << ", " << b.w << ", " << b.h << ")";
}

// Where the toolkit last moved the window.
inline Box placed(Window* w) { return {w->left, w->top, w->width, w->height}; }

// Where the layer has the window, in its parent's client coordinates.
inline Box layerPlacement(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  POINT topLeft = {r.left, r.top};
  ScreenToClient(GetParent(hwnd), &topLeft);
  return {topLeft.x, topLeft.y, r.right - r.left, r.bottom - r.top};
}

// A plain child window to lay out: a "Static" with a label.
class Leaf : public Window {
 public:
  explicit Leaf(const char* name) : Window(name) {}
  const char* typeName() const override { return "leaf"; }
  void create() override {
    HWND parentHwnd = getParent() ? getParent()->getHwnd() : nullptr;
    hwnd = CreateWindowExA(WS_EX_CLIENTEDGE, "Static", getName(), WS_CHILD | WS_VISIBLE | SS_CENTER,
                           0, 0, 0, 0, parentHwnd, nullptr, getModuleInstance(), nullptr);
  }
};

// A top-level toolkit window that holds whatever a test puts in it; it does no layout.
class Host : public Container {
 public:
  Host() : Container("Layout test") {}
  const char* typeName() const override { return "test host"; }
  void create() override {
    hwnd = CreateWindowExA(0, "BlackHoleWindow", getName(), WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                           nullptr, nullptr, getModuleInstance(), nullptr);
  }
  void onChildRemoved(Window*) override {}
  void update() override {}
};

// Starts a toolkit with a host window; windows made by a test are kept alive until the
// toolkit is gone.
class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = new RootWindow;
    initToolkit(nullptr, 101, root);
    host = new Host;
    root->addChild(host);
    host->move(0, 0, 640, 480);
    ShowWindow(host->getHwnd(), SW_SHOW);
  }
  void TearDown() override {
    delete root;
    // Containers before what they hold: a container cuts loose the children it still lists.
    for (Window* window : owned) delete window;
    delete host;
  }
  template <class T>
  T* keep(T* window) {
    owned.push_back(window);
    return window;
  }
  Leaf* leaf(const char* name) { return keep(new Leaf(name)); }

  RootWindow* root = nullptr;
  Host* host = nullptr;
  std::vector<Window*> owned;
};

}  // namespace layouttest
