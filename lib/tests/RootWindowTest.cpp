#include "lib/tests/ToolkitFixture.h"

#include <functional>

namespace {

// Runs its script when the posted start message arrives, then makes sure the loop ends.
struct ScriptWindow : ProbeWindow {
    explicit ScriptWindow(std::function<bool()> script) : ProbeWindow("driver"), script(std::move(script)) {}
    bool onMessage(const MSG& message) override
    {
        if (message.message != WM_USER + 1)
            return ProbeWindow::onMessage(message);
        quitSeen = script();
        PostQuitMessage(0);
        return true;
    }
    std::function<bool()> script;
    bool quitSeen = false;
};

class RootWindowTest : public ToolkitTest {
protected:
    // The script runs inside this module's message loop, under a hidden driver window, and
    // answers whether the root has posted WM_QUIT by then.
    bool quitInsideLoop(std::function<bool()> script)
    {
        ScriptWindow driver(std::move(script));
        root->addChild(&driver);
        driver.hide();
        PostMessageA(driver.getHwnd(), WM_USER + 1, 0, 0);
        runMessageLoop();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        return driver.quitSeen;
    }
};

TEST_F(RootWindowTest, LastVisibleWindowEndsTheLoopOnlyWhileItRuns)
{
    ProbeWindow a("a"), b("b"), c("c"), d("d");
    root->addChild(&a);
    a.destroy();
    EXPECT_FALSE(quitPending()) << "no loop of this module runs";
    root->addChild(&b);
    root->addChild(&c);
    root->addChild(&d);
    EXPECT_FALSE(quitInsideLoop([&] {
        b.hide();  // hiding alone never quits
        c.destroy();  // d stays visible
        return quitPending();
    }));
    EXPECT_TRUE(quitInsideLoop([&] {
        d.destroy();  // b and the driver are hidden
        return quitPending();
    }));
    b.destroy();
    EXPECT_TRUE(quitInsideLoop([&] {
        Window* driver = root->childAt(0);  // the only child
        driver->show();
        driver->destroy();
        return quitPending();
    }));
}

TEST_F(RootWindowTest, DeletingTheRootDestroysItsWindowsWithoutEndingTheLoop)
{
    ProbeWindow a("a");
    root->addChild(&a);
    HWND handle = a.getHwnd();
    EXPECT_FALSE(quitInsideLoop([&] {
        delete root;
        root = nullptr;
        return quitPending();
    }));
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(a.isCreated());
    EXPECT_EQ(nullptr, getRootWindow());
    EXPECT_FALSE(rootWindowExists());
}

TEST_F(RootWindowTest, RegistryKeepsTheFirstObjectOfAHandle)
{
    ProbeWindow a("a"), impostor("impostor");
    root->addChild(&a);
    impostor.adopt(a.getHwnd());
    root->registerWindow(&impostor);
    root->unregisterWindow(&impostor);  // must not take a's entry
    impostor.adopt(nullptr);
    EXPECT_EQ(&a, root->findWindow(a.getHwnd()));
}

}  // namespace
