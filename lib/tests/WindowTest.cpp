#include "lib/tests/ToolkitFixture.h"

namespace {

class WindowTest : public ToolkitTest {
 protected:
  void send(Window& w, UINT message, WPARAM wParam, LPARAM lParam = 0) {
    SendMessageA(w.getHwnd(), message, wParam, lParam);
  }
  Log log;
};

TEST_F(WindowTest, KeysCommandsAndNotificationsReachTheRightObject) {
  ProbeComposite panel("panel", &log);
  ProbeWindow control("control", &log), owner("owner", &log);
  root->addChild(&panel);
  control.createIn(&panel);
  root->addChild(&owner);
  ShowWindow(owner.getHwnd(), SW_SHOW);
  SetFocus(owner.getHwnd());
  HWND unknown = makeProbeWindow(&owner, "BUTTON", "");
  control.setMessageHook([](Window* w, const MSG& m) {  // the record names the receiver
    if (m.message == WM_NOTIFY)
      static_cast<ProbeWindow*>(w)->log->push_back(m.hwnd == w->getHwnd() ? "self" : "parent");
    return false;
  });
  log.clear();
  for (LPARAM repeat : {0, 1 << 30, 1 << 30}) send(owner, WM_KEYDOWN, 'A', repeat);  // held
  send(owner, WM_KEYUP, 'A');
  send(control, WM_KEYUP, 'B');  // taken where it was sent
  control.handles = false;
  send(control, WM_CHAR, 'x');  // left unhandled: on to the focus window
  control.handles = true;
  for (HWND from : {control.getHwnd(), HWND(nullptr), unknown})
    send(owner, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(from));
  NMHDR header = {control.getHwnd(), 7, 0};
  send(owner, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ((Log{"owner: key down 65,0", "owner: key up 65,0", "control: key up 66,0",
                 "control: char 120,0", "owner: char 120,0", "control: paint 0,0",
                 "owner: command 7,0", "owner: command 7,0", "parent"}),
            log);
  DestroyWindow(unknown);
}

TEST_F(WindowTest, SizeMoveAndMouseParameters) {
  ProbeWindow probe("w", &log);
  root->addChild(&probe);
  probe.move(50, 40, 120, 80);
  POINT o = {0, 0};
  ClientToScreen(probe.getHwnd(), &o);
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
      {WM_MBUTTONUP, MK_LBUTTON, MAKELPARAM(1, 1), "w: up 4 1,1"},
      {WM_LBUTTONDBLCLK, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(9, 8), "w: double 3 9,8"},
      // Frame clicks carry screen coordinates; handlers get client ones.
      {WM_NCRBUTTONUP, 0, MAKELPARAM(o.x + 7, o.y + 9), "w: up 2 7,9"},
      {WM_NCMBUTTONDBLCLK, 0, MAKELPARAM(o.x + 7, o.y - 2), "w: double 4 7,-2"},
  };
  for (const auto& c : cases) {
    log.clear();
    send(probe, c.message, c.wParam, c.lParam);
    EXPECT_EQ(Log{c.expected}, log) << std::hex << c.message;
    // Stored although the probe's onSize never calls the base.
    if (c.message == WM_SIZE) {
      EXPECT_EQ(LOWORD(c.lParam), probe.clientWidth);
    }
  }
  EXPECT_TRUE(probe.onMessage(MSG{probe.getHwnd(), Window::RequestMessage, 0, 0, 0, {0, 0}}));
}

Log* classLog = nullptr;
LRESULT CALLBACK recordingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  classLog->push_back(std::to_string(message));
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(WindowTest, SubclassKeepsTheClassProcedureOnlyWhenItDiffers) {
  registerClass("ProbeRecordingClass", recordingProcedure);
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

TEST_F(WindowTest, ShowAndHideTellTheParentOnlyOnChange) {
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
  EXPECT_FALSE(child.isVisible() || IsWindowVisible(child.getHwnd()));
  child.showKeep();
  child.hide();
  SetFocus(other.getHwnd());
  child.show();
  child.show();
  EXPECT_EQ((Log{"visibility child", "visibility child", "visibility child"}), log);
  EXPECT_TRUE(IsWindowVisible(child.getHwnd()));
  EXPECT_EQ(child.getHwnd(), GetFocus());
}

TEST_F(WindowTest, DestroyTakesThePlatformWindowEvenWhenCloseKeepsIt) {
  for (bool keep : {false, true}) {
    ProbeComposite panel("panel", &log);
    root->addChild(&panel);
    ProbeWindow probe("w", &log);
    probe.keepOnClose = keep;
    probe.createIn(&panel);
    HWND hwnd = probe.getHwnd();
    log.clear();
    send(probe, WM_CLOSE, 0);  // the close box alone leaves a kept window
    EXPECT_EQ(keep, IsWindow(hwnd) != 0);
    if (keep) log.clear(), probe.destroy();
    EXPECT_EQ((Log{"w: close 0,0", "w: destroy 0,0", "removed w"}), log) << keep;
    EXPECT_FALSE(IsWindow(hwnd) || root->findWindow(hwnd) || probe.getParent());
  }
}

bool counted = false;
struct Counted : ProbeWindow {
  ~Counted() override { counted = true; }
};

TEST_F(WindowTest, LastReleaseDeletesTheWindow) {
  Window* window = new Counted;
  root->addChild(window);
  HWND hwnd = window->getHwnd();
  window->addRef()->addRef();
  EXPECT_EQ(1, window->release());
  EXPECT_FALSE(counted);
  EXPECT_EQ(0, window->release());
  EXPECT_TRUE(counted);
  EXPECT_FALSE(IsWindow(hwnd) || root->childAt(0));
}

}  // namespace
