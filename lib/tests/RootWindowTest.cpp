#include <functional>

#include "lib/tests/ToolkitFixture.h"

namespace {

// True when WM_QUIT waits in this thread's queue (it stays there).
bool quitPending() {
  MSG message;
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

// Runs its script when the posted start message arrives, then makes sure the loop ends.
struct ScriptWindow : ProbeWindow {
  explicit ScriptWindow(std::function<void()> script) : ProbeWindow("driver"), script(script) {}
  bool onMessage(const MSG& message) override {
    if (message.message != WM_USER + 1) return ProbeWindow::onMessage(message);
    script();
    quitSeen = quitPending();
    PostQuitMessage(0);
    return true;
  }
  std::function<void()> script;
  bool quitSeen = false;
};

class RootWindowTest : public ToolkitTest {
 protected:
  // Runs the script inside this module's message loop, under a hidden driver window, and
  // answers whether the root had posted WM_QUIT by its end.
  bool quitInsideLoop(std::function<void()> script) {
    ScriptWindow driver(script);
    root->addChild(&driver);
    driver.hide();
    PostMessageA(driver.getHwnd(), WM_USER + 1, 0, 0);
    runMessageLoop();
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
    }
    return driver.quitSeen;
  }
};

TEST_F(RootWindowTest, LastVisibleWindowEndsTheLoopOnlyWhileItRuns) {
  ProbeWindow a("a"), b("b"), c("c"), d("d");
  root->addChild(&a);
  a.destroy();
  EXPECT_FALSE(quitPending()) << "no loop of this module runs";
  for (ProbeWindow* w : {&b, &c, &d}) root->addChild(w);
  EXPECT_FALSE(quitInsideLoop([&] {
    b.hide();     // hiding alone never quits
    c.destroy();  // d stays visible
  }));
  EXPECT_TRUE(quitInsideLoop([&] { d.destroy(); }));  // b and the driver are hidden
  b.destroy();
  EXPECT_TRUE(quitInsideLoop([&] {
    Window* driver = root->childAt(0);  // the only child
    driver->show();
    driver->destroy();
  }));
}

TEST_F(RootWindowTest, DeletingTheRootDestroysItsWindowsWithoutEndingTheLoop) {
  ProbeWindow a("a");
  root->addChild(&a);
  HWND handle = a.getHwnd();
  EXPECT_FALSE(quitInsideLoop([&] { delete root, root = nullptr; }));
  EXPECT_FALSE(IsWindow(handle) || a.isCreated() || getRootWindow() || rootWindowExists());
}

TEST_F(RootWindowTest, RegistryKeepsTheFirstObjectOfAHandle) {
  ProbeWindow a("a"), impostor("impostor");
  root->addChild(&a);
  impostor.adopt(a.getHwnd());
  root->registerWindow(&impostor);
  root->unregisterWindow(&impostor);  // must not take a's entry
  impostor.adopt(nullptr);
  EXPECT_EQ(&a, root->findWindow(a.getHwnd()));
}

}  // namespace
