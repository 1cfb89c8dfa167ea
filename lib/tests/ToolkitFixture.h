// Test support for the window toolkit: a started toolkit per test, and small windows that
// record the handler calls they receive.
#pragma once

#include "lib/Composite.h"
#include "lib/RootWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Log = std::vector<std::string>;

// A child window of the parent's platform window, or a top-level one under the root.
inline HWND makeProbeWindow(Composite* parent, const char* className, const char* name)
{
    HWND parentHandle = parent ? parent->getHwnd() : nullptr;
    DWORD style = parentHandle ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
    return CreateWindowExA(0, className, name, style, 0, 0, 120, 80, parentHandle, nullptr, getModuleInstance(), nullptr);
}

// Logs every handler call as "name: call args"; handlers answer `handles`.
class ProbeWindow : public Window {
public:
    explicit ProbeWindow(const char* name = "probe", Log* log = nullptr) : Window(name), log(log ? log : &ownLog) {}
    const char* typeName() const override { return "probe"; }
    void create() override { hwnd = makeProbeWindow(parent, className, getName()); }

    bool onClose() override { return note("close") && keepOnClose; }
    bool onCommand(int id) override { return note("command", id); }
    bool onDestroy() override
    {
        note("destroy");
        return Window::onDestroy();
    }
    bool onPaint() override { return note("paint") && false; }
    bool onMove(int x, int y) override { return note("move", x, y); }
    bool onSize(int type, int w, int h) override { return note("size " + std::to_string(type), w, h); }
    bool onChar(int code) override { return note("char", code); }
    bool onKey(int key, bool down) override { return note(down ? "key down" : "key up", key); }
    bool onMouseMove(int b, int x, int y) override { return note("mousemove " + std::to_string(b), x, y); }
    bool onMouseButton(int b, int x, int y, bool down) override
    {
        return note((down ? "down " : "up ") + std::to_string(b), x, y);
    }
    bool onDoubleClick(int b, int x, int y) override { return note("double " + std::to_string(b), x, y); }

    WNDPROC keptProcedure() const { return oldWindowProc; }
    void adopt(HWND handle) { hwnd = handle; }

    Log* log;
    Log ownLog;
    const char* className = "BlackHoleWindow";
    bool handles = true;
    bool keepOnClose = false;

private:
    bool note(const std::string& call, int a = 0, int b = 0)
    {
        log->push_back(std::string(getName()) + ": " + call + " " + std::to_string(a) + "," + std::to_string(b));
        return handles;
    }
};

// A composite that logs what its children report; at the top it is a plain window.
class ProbeComposite : public Composite {
public:
    explicit ProbeComposite(const char* name = "panel", Log* log = nullptr) : Composite(name), log(log ? log : &ownLog) {}
    const char* typeName() const override { return "probe composite"; }
    void create() override
    {
        if (withoutWindow)
            hwnd = nullptr;
        else if (parent && parent->getHwnd())
            Composite::create();
        else
            hwnd = makeProbeWindow(nullptr, "BlackHoleWindow", getName());
    }
    bool onChildVisibility(Window* child) override { return note("visibility", child) && Composite::onChildVisibility(child); }
    void onChildRemoved(Window* child) override { note("removed", child); }

    Log* log;
    Log ownLog;
    bool withoutWindow = false;

private:
    bool note(const char* what, Window* child)
    {
        log->push_back(std::string(what) + " " + child->getName());
        return true;
    }
};

// Starts the toolkit with a fresh root for every test and deletes the root afterwards.
class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = new RootWindow();
        initToolkit(nullptr, 101, root);
    }
    void TearDown() override { delete root; }

    // True when WM_QUIT waits in this thread's queue (it stays there).
    static bool quitPending()
    {
        MSG message;
        return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
    }

    RootWindow* root = nullptr;
};
