#include "lib/tests/ToolkitFixture.h"

namespace {

class WindowTest : public ToolkitTest {};

TEST_F(WindowTest, HeldKeyCountsOnceAndUnhandledKeysGoToTheFocusWindow)
{
    Log log;
    ProbeWindow focused("focused", &log), other("other", &log);
    root->addChild(&focused);
    root->addChild(&other);
    ShowWindow(focused.getHwnd(), SW_SHOW);
    SetFocus(focused.getHwnd());
    for (LPARAM repeat : {0, 1 << 30, 1 << 30})
        SendMessageA(focused.getHwnd(), WM_KEYDOWN, 'A', repeat);
    SendMessageA(focused.getHwnd(), WM_KEYUP, 'A', 0);
    SendMessageA(other.getHwnd(), WM_KEYUP, 'B', 0);  // taken where it was sent
    other.handles = false;
    SendMessageA(other.getHwnd(), WM_CHAR, 'x', 0);
    EXPECT_EQ((Log{"focused: key down 65,0", "focused: key up 65,0", "other: key up 66,0", "other: char 120,0",
                   "focused: char 120,0"}),
              log);
}

TEST_F(WindowTest, CommandsAndNotificationsGoToTheControlsObject)
{
    Log log;
    ProbeComposite panel("panel", &log);
    ProbeWindow control("control", &log), owner("owner", &log);
    root->addChild(&panel);
    control.createIn(&panel);
    root->addChild(&owner);
    HWND unknown = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 9, 9, owner.getHwnd(), nullptr, nullptr, nullptr);
    control.setMessageHook([](Window* window, const MSG& m) {
        // The record still names the window that received the notification.
        if (m.message == WM_NOTIFY)
            static_cast<ProbeWindow*>(window)->log->push_back(m.hwnd == window->getHwnd() ? "notify self" : "notify parent");
        return false;
    });
    log.clear();
    for (LPARAM from : {reinterpret_cast<LPARAM>(control.getHwnd()), LPARAM(0), reinterpret_cast<LPARAM>(unknown)})
        SendMessageA(owner.getHwnd(), WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), from);
    NMHDR header = {control.getHwnd(), 7, 0};
    SendMessageA(owner.getHwnd(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ((Log{"control: paint 0,0", "owner: command 7,0", "owner: command 7,0", "notify parent"}), log);
    DestroyWindow(unknown);
}

TEST_F(WindowTest, SizeMoveAndMouseParameters)
{
    Log log;
    ProbeWindow probe("w", &log);
    root->addChild(&probe);
    HWND hwnd = probe.getHwnd();
    probe.move(50, 40, 120, 80);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* expected;
    } cases[] = {
        {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200), "w: size 2 300,200"},
        {WM_SIZE, 7, MAKELPARAM(-5, 10), "w: size 0 -5,10"},
        {WM_MOVE, 0, MAKELPARAM(-3, 4), "w: move -3,4"},
        {WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-1, 2), "w: mousemove 1 65535,2"},
        {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(5, 6), "w: down 3 5,6"},
        {WM_RBUTTONUP, MK_LBUTTON, MAKELPARAM(5, 6), "w: up 2 5,6"},
        {WM_LBUTTONUP, 0, MAKELPARAM(5, 6), "w: up 1 5,6"},
        {WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, MAKELPARAM(1, 1), "w: down 4 1,1"},
        {WM_MBUTTONUP, MK_LBUTTON, MAKELPARAM(1, 1), "w: up 4 1,1"},
        {WM_LBUTTONDBLCLK, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(9, 8), "w: double 3 9,8"},
        // Frame clicks carry screen coordinates; handlers get client ones.
        {WM_NCRBUTTONUP, 0, MAKELPARAM(origin.x + 7, origin.y + 9), "w: up 2 7,9"},
        {WM_NCMBUTTONDBLCLK, 0, MAKELPARAM(origin.x + 7, origin.y - 2), "w: double 4 7,-2"},
    };
    for (const auto& c : cases) {
        log.clear();
        SendMessageA(hwnd, c.message, c.wParam, c.lParam);
        EXPECT_EQ(Log{c.expected}, log) << std::hex << c.message;
        if (c.message == WM_SIZE) {  // stored although the probe's onSize never calls the base
            EXPECT_EQ(LOWORD(c.lParam), probe.clientWidth);
        }
    }
    EXPECT_TRUE(probe.onMessage(MSG{hwnd, Window::RequestMessage, 0, 0, 0, {0, 0}}));
}

Log* classLog = nullptr;
LRESULT CALLBACK recordingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    classLog->push_back(std::to_string(message));
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(WindowTest, SubclassKeepsTheClassProcedureOnlyWhenItDiffers)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = recordingProcedure;
    windowClass.lpszClassName = "ProbeRecordingClass";
    RegisterClassExA(&windowClass);
    Log log;
    classLog = &log;
    ProbeWindow probe("w");
    probe.className = "ProbeRecordingClass";
    probe.create();
    HWND hwnd = probe.getHwnd();
    log.clear();

    probe.subclass(recordingProcedure);  // already its procedure: nothing kept, no font
    EXPECT_EQ(nullptr, probe.keptProcedure());
    probe.subclass(toolkitWindowProc);  // the font goes to the class procedure first
    EXPECT_EQ(recordingProcedure, probe.keptProcedure());
    root->registerWindow(&probe);
    SendMessageA(hwnd, WM_USER + 5, 0, 0);  // left by the object: on to the kept procedure
    EXPECT_EQ((Log{std::to_string(WM_SETFONT), std::to_string(WM_USER + 5)}), log);
    probe.detach();
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(recordingProcedure), GetWindowLongA(hwnd, GWL_WNDPROC));
    DestroyWindow(hwnd);
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
    child.hideKeep();
    child.show();  // still kept hidden: nobody told
    EXPECT_FALSE(child.isVisible());
    EXPECT_FALSE(IsWindowVisible(child.getHwnd()));
    child.showKeep();
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
        SendMessageA(hwnd, WM_CLOSE, 0, 0);  // the close box alone leaves a kept window
        EXPECT_EQ(keep, IsWindow(hwnd) != 0);
        if (keep) {
            log.clear();
            probe.destroy();
        }
        EXPECT_EQ((Log{"w: close 0,0", "w: destroy 0,0", "removed w"}), log) << keep;
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(nullptr, root->findWindow(hwnd));
        EXPECT_EQ(nullptr, probe.getParent());
    }
}

struct CountedWindow : ProbeWindow {
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
    window->addRef()->addRef();
    EXPECT_EQ(1, window->release());
    EXPECT_FALSE(deleted);
    EXPECT_EQ(0, window->release());
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, root->childAt(0));
}

}  // namespace
