#include "lib/tests/ToolkitFixture.h"

namespace {

using Log = std::vector<std::string>;

class WindowTest : public ToolkitTest {};

// Records the messages a class procedure receives when no toolkit object takes them.
Log* classProcedureLog = nullptr;
LRESULT CALLBACK recordingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (classProcedureLog)
        classProcedureLog->push_back("class " + std::to_string(message));
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(WindowTest, HeldKeyCountsOnceAndKeysFollowTheFocus)
{
    Log log;
    ProbeWindow focused("focused", &log), other("other", &log);
    root->addChild(&focused);
    root->addChild(&other);
    ShowWindow(focused.getHwnd(), SW_SHOW);
    ShowWindow(other.getHwnd(), SW_SHOW);
    SetFocus(focused.getHwnd());

    const LPARAM repeat = 1 << 30;
    SendMessageA(focused.getHwnd(), WM_KEYDOWN, 'A', 0);
    SendMessageA(focused.getHwnd(), WM_KEYDOWN, 'A', repeat);
    SendMessageA(focused.getHwnd(), WM_KEYDOWN, 'A', repeat);
    SendMessageA(focused.getHwnd(), WM_KEYUP, 'A', 0);
    EXPECT_EQ((Log{"focused: key 65 down", "focused: key 65 up"}), log);

    // A window that does not take keys passes them to the focus window's object.
    log.clear();
    other.handles = false;
    SendMessageA(other.getHwnd(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(other.getHwnd(), WM_CHAR, 'x', 0);
    EXPECT_EQ((Log{"other: key 13 down", "focused: key 13 down", "other: char 120", "focused: char 120"}), log);

    // One that takes them keeps them.
    log.clear();
    other.handles = true;
    SendMessageA(other.getHwnd(), WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ((Log{"other: key 13 up"}), log);
}

bool recordNotify(Window* window, const MSG& message)
{
    if (message.message == WM_NOTIFY) {
        auto* probe = static_cast<ProbeWindow*>(window);
        probe->log->push_back(std::string("hook notify from ") + (message.hwnd == probe->getHwnd() ? "self" : "parent"));
    }
    return false;
}

TEST_F(WindowTest, CommandsAndNotificationsGoToTheControlsObject)
{
    Log log;
    ProbeComposite panel("panel", &log);
    root->addChild(&panel);
    ProbeWindow control("control", &log), owner("owner", &log);
    control.createIn(&panel);
    root->addChild(&owner);
    HWND unregistered = CreateWindowExA(0, "BUTTON", "raw", WS_CHILD, 0, 0, 10, 10, owner.getHwnd(),
                                        nullptr, getModuleInstance(), nullptr);
    log.clear();

    const struct {
        LPARAM from;
        const char* expected;
    } cases[] = {
        {reinterpret_cast<LPARAM>(control.getHwnd()), "control: paint"},  // registered control
        {0, "owner: command 7"},                                        // menu or accelerator
        {reinterpret_cast<LPARAM>(unregistered), "owner: command 7"},   // control we do not know
    };
    for (const auto& c : cases) {
        log.clear();
        SendMessageA(owner.getHwnd(), WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), c.from);
        EXPECT_EQ(Log{c.expected}, log) << c.from;
    }

    // A notification reaches the sender's object, with the record still naming the receiver.
    log.clear();
    control.setMessageHook(recordNotify);
    NMHDR header = {control.getHwnd(), 7, 0};
    SendMessageA(owner.getHwnd(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(Log{"hook notify from parent"}, log);
    DestroyWindow(unregistered);
}

TEST_F(WindowTest, SizeMoveAndMouseParameters)
{
    Log log;
    ProbeWindow probe("w", &log);
    root->addChild(&probe);
    HWND hwnd = probe.getHwnd();
    log.clear();

    // The client size is stored even though the probe's onSize never calls the base.
    SendMessageA(hwnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200));
    EXPECT_EQ(300, probe.clientWidth);
    EXPECT_EQ(200, probe.clientHeight);
    EXPECT_EQ(0, probe.lastSizeType());

    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* expected;
    } cases[] = {
        {WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0), "w: size 1 0,0"},
        {WM_SIZE, 7, MAKELPARAM(-5, 10), "w: size 0 -5,10"},
        {WM_MOVE, 0, MAKELPARAM(-3, 4), "w: move -3,4"},
        {WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-1, 2), "w: mousemove 1 65535,2"},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6), "w: button 1 down 5,6"},
        {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(5, 6), "w: button 3 down 5,6"},
        {WM_RBUTTONUP, MK_LBUTTON, MAKELPARAM(5, 6), "w: button 2 up 5,6"},
        {WM_LBUTTONUP, 0, MAKELPARAM(5, 6), "w: button 1 up 5,6"},
        {WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, MAKELPARAM(1, 1), "w: button 4 down 1,1"},
        {WM_MBUTTONUP, MK_LBUTTON, MAKELPARAM(1, 1), "w: button 4 up 1,1"},
        {WM_LBUTTONDBLCLK, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(9, 8), "w: double 3 9,8"},
    };
    for (const auto& c : cases) {
        log.clear();
        SendMessageA(hwnd, c.message, c.wParam, c.lParam);
        EXPECT_EQ(Log{c.expected}, log) << std::hex << c.message;
    }
    EXPECT_EQ(65531, probe.clientWidth);  // from the last WM_SIZE: the stored size is the unsigned word

    // Frame clicks carry screen coordinates; handlers get client ones.
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    log.clear();
    SendMessageA(hwnd, WM_NCRBUTTONUP, 0, MAKELPARAM(origin.x + 7, origin.y + 9));
    SendMessageA(hwnd, WM_NCMBUTTONDBLCLK, 0, MAKELPARAM(origin.x + 7, origin.y - 2));
    EXPECT_EQ((Log{"w: button 2 up 7,9", "w: double 4 7,-2"}), log);

    // The request message is taken without a handler; unknown messages are not.
    EXPECT_TRUE(probe.onMessage(MSG{hwnd, Window::RequestMessage, 0, 0, 0, {0, 0}}));
    EXPECT_FALSE(probe.onMessage(MSG{hwnd, WM_USER + 1, 0, 0, 0, {0, 0}}));
}

TEST_F(WindowTest, SubclassKeepsTheClassProcedureOnlyWhenItDiffers)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = recordingProcedure;
    windowClass.hInstance = getModuleInstance();
    windowClass.lpszClassName = "ProbeRecordingClass";
    RegisterClassExA(&windowClass);
    Log classLog;
    classProcedureLog = &classLog;
    const std::string setFont = "class " + std::to_string(WM_SETFONT);

    ProbeWindow probe("w");
    probe.className = "ProbeRecordingClass";
    probe.create();
    HWND hwnd = probe.getHwnd();
    classLog.clear();

    // Already running the procedure: nothing kept, no font sent.
    probe.subclass(recordingProcedure);
    EXPECT_EQ(nullptr, probe.keptProcedure());
    EXPECT_TRUE(classLog.empty());

    // The font goes to the class procedure before the toolkit's is installed.
    probe.subclass(toolkitWindowProc);
    EXPECT_EQ(Log{setFont}, classLog);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(toolkitWindowProc), GetWindowLongA(hwnd, GWL_WNDPROC));
    EXPECT_EQ(recordingProcedure, probe.keptProcedure());

    // Messages the object leaves go on to the kept procedure.
    root->registerWindow(&probe);
    classLog.clear();
    SendMessageA(hwnd, WM_USER + 5, 0, 0);
    EXPECT_EQ(Log{"class " + std::to_string(WM_USER + 5)}, classLog);

    // Detaching puts it back.
    probe.detach();
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(recordingProcedure), GetWindowLongA(hwnd, GWL_WNDPROC));
    EXPECT_EQ(nullptr, root->findWindow(hwnd));
    DestroyWindow(hwnd);
    classProcedureLog = nullptr;
}

TEST_F(WindowTest, ShowAndHideTellTheParentOnlyOnChange)
{
    Log log;
    ProbeComposite panel("panel", &log);
    root->addChild(&panel);
    ShowWindow(panel.getHwnd(), SW_SHOW);
    ProbeWindow child("child"), other("other");
    child.createIn(&panel);
    other.createIn(&panel);
    log.clear();

    child.hide();
    child.hide();
    EXPECT_EQ(Log{"visibility child"}, log);
    EXPECT_FALSE(IsWindowVisible(child.getHwnd()));

    child.hideKeep();
    child.show();  // still kept hidden: nothing shown, nobody told
    EXPECT_EQ(Log{"visibility child"}, log);
    EXPECT_FALSE(child.isVisible());
    child.showKeep();
    EXPECT_TRUE(child.isVisible());
    EXPECT_EQ(Log{"visibility child"}, log);

    child.hide();
    SetFocus(other.getHwnd());
    child.show();
    child.show();
    EXPECT_EQ((Log{"visibility child", "visibility child", "visibility child"}), log);
    EXPECT_TRUE(IsWindowVisible(child.getHwnd()));
    EXPECT_EQ(child.getHwnd(), GetFocus());
}

TEST_F(WindowTest, DestroyTakesThePlatformWindowEvenWhenCloseKeepsIt)
{
    for (bool keep : {false, true}) {
        Log log;
        ProbeComposite panel("panel", &log);
        root->addChild(&panel);
        ProbeWindow probe("w", &log);
        probe.keepOnClose = keep;
        probe.createIn(&panel);
        HWND hwnd = probe.getHwnd();
        log.clear();

        // The close box alone does not take a kept window.
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        EXPECT_EQ(keep, IsWindow(hwnd) != 0);
        if (keep) {
            log.clear();
            probe.destroy();
        }
        EXPECT_EQ((Log{"w: close", "w: destroy", "removed w"}), log) << keep;
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_FALSE(probe.isCreated());
        EXPECT_EQ(nullptr, root->findWindow(hwnd));
        EXPECT_EQ(nullptr, probe.getParent());
        EXPECT_EQ(-1, panel.indexOf(&probe));
        panel.destroy();
    }
}

class CountedWindow : public ProbeWindow {
public:
    explicit CountedWindow(bool* deleted) : deleted(deleted) {}
    ~CountedWindow() override { *deleted = true; }
    bool* deleted;
};

TEST_F(WindowTest, LastReleaseDeletesTheWindow)
{
    bool deleted = false;
    Window* window = new CountedWindow(&deleted);
    root->addChild(window);
    HWND hwnd = window->getHwnd();
    EXPECT_EQ(window, window->addRef());
    window->addRef();
    EXPECT_EQ(1, window->release());
    EXPECT_FALSE(deleted);
    EXPECT_EQ(0, window->release());
    EXPECT_TRUE(deleted);
    // Deleting a created window destroys its platform window and leaves the tree.
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, root->childAt(0));
}

}  // namespace
