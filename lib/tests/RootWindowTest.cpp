#include "lib/tests/ToolkitFixture.h"

#include <functional>

namespace {

class RootWindowTest : public ToolkitTest {
protected:
    // Runs the message loop until the script, run from inside it, has ended it; the script's
    // own WM_QUIT comes only if the root posted none.
    void runInsideLoop(std::function<void()> script)
    {
        ScriptWindow driver(std::move(script));
        root->addChild(&driver);
        driver.hide();
        PostMessageA(driver.getHwnd(), WM_USER + 1, 0, 0);
        runMessageLoop();
    }

    struct ScriptWindow : ProbeWindow {
        explicit ScriptWindow(std::function<void()> script) : ProbeWindow("driver"), script(std::move(script)) {}
        bool onMessage(const MSG& message) override
        {
            if (message.message != WM_USER + 1)
                return ProbeWindow::onMessage(message);
            script();
            if (!quitPending())
                PostQuitMessage(0);
            return true;
        }
        std::function<void()> script;
    };
};

TEST_F(RootWindowTest, LastVisibleWindowEndsTheLoopOnlyWhileItRuns)
{
    ProbeWindow a("a"), b("b");
    root->addChild(&a);
    root->addChild(&b);
    a.destroy();
    b.destroy();
    EXPECT_FALSE(quitPending()) << "no loop of this module runs";

    std::vector<bool> quits;
    ProbeWindow c("c"), d("d");
    root->addChild(&c);
    root->addChild(&d);
    runInsideLoop([&] {
        c.hide();  // hiding alone never quits
        quits.push_back(quitPending());
        d.destroy();  // the hidden driver and c remain
        quits.push_back(quitPending());
    });
    EXPECT_EQ((std::vector<bool>{false, true}), quits);
    drainQueue();
}

TEST_F(RootWindowTest, LosingTheOnlyChildEndsTheLoop)
{
    bool quit = false;
    runInsideLoop([&] {
        Window* driver = root->childAt(0);
        driver->show();
        driver->destroy();
        quit = quitPending();
    });
    EXPECT_TRUE(quit);
    EXPECT_EQ(nullptr, root->childAt(0));
}

TEST_F(RootWindowTest, DeletingTheRootDestroysItsWindowsWithoutEndingTheLoop)
{
    ProbeWindow a("a");
    root->addChild(&a);
    HWND handle = a.getHwnd();
    bool quit = true;
    runInsideLoop([&] {
        delete root;
        root = nullptr;
        quit = quitPending();
    });
    EXPECT_FALSE(quit);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(a.isCreated());
    EXPECT_EQ(nullptr, getRootWindow());
    EXPECT_FALSE(rootWindowExists());
}

TEST_F(RootWindowTest, RegistryKeepsTheFirstObjectOfAHandle)
{
    EXPECT_STREQ("system container", root->typeName());
    EXPECT_STREQ("Root Window", root->getName());
    EXPECT_EQ(nullptr, root->getHwnd());

    ProbeWindow a("a");
    root->addChild(&a);
    HWND raw = CreateWindowExA(0, "BlackHoleWindow", "", 0, 0, 0, 10, 10, nullptr, nullptr, getModuleInstance(), nullptr);
    EXPECT_EQ(&a, root->findWindow(a.getHwnd()));
    EXPECT_EQ(nullptr, root->findWindow(raw));
    // Without an object the procedure does the default processing: the text is kept.
    SendMessageA(raw, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("kept"));
    char text[8] = {};
    GetWindowTextA(raw, text, sizeof(text));
    EXPECT_STREQ("kept", text);
    DestroyWindow(raw);

    // A second object for the same handle is refused and cannot take the first one's entry.
    struct Impostor : ProbeWindow {
        void adopt(HWND handle) { hwnd = handle; }
    } impostor;
    impostor.adopt(a.getHwnd());
    root->registerWindow(&impostor);
    root->unregisterWindow(&impostor);
    impostor.adopt(nullptr);
    EXPECT_EQ(&a, root->findWindow(a.getHwnd()));
}

}  // namespace
