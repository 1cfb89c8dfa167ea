// Test support for the window toolkit: a started toolkit per test, and small windows that
// record the handler calls they receive.
#pragma once

#include "lib/Composite.h"
#include "lib/RootWindow.h"
#include "lib/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Every handler call goes to the log as one line; a handler answers `handles` unless told.
class ProbeWindow : public Window {
public:
    explicit ProbeWindow(const char* name = "probe", std::vector<std::string>* log = nullptr)
        : Window(name), log(log ? log : &ownLog) {}

    const char* typeName() const override { return "probe"; }
    void create() override
    {
        HWND parentHandle = parent ? parent->getHwnd() : nullptr;
        DWORD style = parentHandle ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
        hwnd = CreateWindowExA(0, className, getName(), style, 0, 0, 120, 80, parentHandle, nullptr,
                               getModuleInstance(), nullptr);
    }

    bool onClose() override { return note("close", keepOnClose); }
    bool onCommand(int id) override { return note("command " + std::to_string(id)); }
    bool onDestroy() override
    {
        note("destroy");
        return Window::onDestroy();
    }
    bool onPaint() override { return note("paint", false); }
    bool onMove(int x, int y) override { return note("move " + pair(x, y)); }
    bool onSize(int type, int w, int h) override
    {
        return note("size " + std::to_string(type) + " " + pair(w, h));
    }
    bool onChar(int code) override { return note("char " + std::to_string(code)); }
    bool onKey(int key, bool down) override
    {
        return note("key " + std::to_string(key) + (down ? " down" : " up"));
    }
    bool onMouseMove(int buttons, int x, int y) override
    {
        return note("mousemove " + std::to_string(buttons) + " " + pair(x, y));
    }
    bool onMouseButton(int buttons, int x, int y, bool down) override
    {
        return note("button " + std::to_string(buttons) + (down ? " down " : " up ") + pair(x, y));
    }
    bool onDoubleClick(int buttons, int x, int y) override
    {
        return note("double " + std::to_string(buttons) + " " + pair(x, y));
    }

    WNDPROC keptProcedure() const { return oldWindowProc; }
    int lastSizeType() const { return sizeType; }

    std::vector<std::string>* log;
    std::vector<std::string> ownLog;
    const char* className = "BlackHoleWindow";
    bool handles = true;
    bool keepOnClose = false;

private:
    bool note(const std::string& line) { return note(line, handles); }
    bool note(const std::string& line, bool answer)
    {
        log->push_back(std::string(getName()) + ": " + line);
        return answer;
    }
    static std::string pair(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }
};

// A composite that records what its children report.
class ProbeComposite : public Composite {
public:
    explicit ProbeComposite(const char* name = "composite", std::vector<std::string>* log = nullptr)
        : Composite(name), log(log ? log : &ownLog) {}

    const char* typeName() const override { return "probe composite"; }
    void create() override
    {
        if (withoutWindow)
            hwnd = nullptr;
        else if (parent && parent->getHwnd())
            Composite::create();
        else  // a child-style "Static" cannot stand alone; at the top a plain window holds the children
            hwnd = CreateWindowExA(0, "BlackHoleWindow", getName(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                   nullptr, nullptr, getModuleInstance(), nullptr);
    }
    bool onChildVisibility(Window* child) override
    {
        log->push_back(std::string("visibility ") + child->getName());
        return Composite::onChildVisibility(child);
    }
    void onChildRemoved(Window* child) override
    {
        log->push_back(std::string("removed ") + child->getName());
    }

    std::vector<std::string>* log;
    std::vector<std::string> ownLog;
    bool withoutWindow = false;
};

// Starts the toolkit with a fresh root for every test and deletes the root afterwards.
class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = new RootWindow();
        initToolkit(GetModuleHandleA(nullptr), 101, root);
    }
    void TearDown() override { delete root; }

    // True when WM_QUIT waits in this thread's queue (left there).
    static bool quitPending()
    {
        MSG message;
        return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
    }
    // Takes every waiting message out of the queue, so no test sees another's WM_QUIT.
    static void drainQueue()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    RootWindow* root = nullptr;
};
