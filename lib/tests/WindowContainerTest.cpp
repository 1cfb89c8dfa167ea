#include "lib/WindowContainer.h"

#include "lib/ExistWindow.h"
#include "lib/UserWindow.h"
#include "lib/tests/ToolkitFixture.h"

namespace {

class Holder : public WindowContainer {
 public:
  Holder() : WindowContainer("holder") {}
  const char* typeName() const override { return "holder"; }
  bool onPaint() override { return ++paints; }
  int paints = 0;
};

class WindowContainerTest : public LayoutTest {
 protected:
  Holder* holder = keep(new Holder);
};

TEST_F(WindowContainerTest, ClientFillsTheContainer) {
  holder->createIn(host);
  holder->move(5, 5, 300, 200);
  Leaf* client = leaf("client");
  holder->setClient(client);
  EXPECT_EQ((Box{0, 0, 300, 200}), placed(client));
  SendMessageA(holder->getHwnd(), WM_SIZE, 0, MAKELPARAM(120, 80));
  EXPECT_EQ((Box{0, 0, 120, 80}), layerPlacement(client->getHwnd()));
  HWND old = client->getHwnd();
  holder->setClient(client = leaf("next"));
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ((Box{0, 0, 120, 80}), placed(client));
  // A command from the holder reaches its object with the host's handle in the record: not
  // its own message, so no handler runs (a plain window would take it as a paint).
  SendMessageA(host->getHwnd(), WM_COMMAND, 7, reinterpret_cast<LPARAM>(holder->getHwnd()));
  SendMessageA(holder->getHwnd(), WM_PAINT, 0, 0);
  EXPECT_EQ(1, holder->paints);
}

// The procedure a window made outside the toolkit had when it was closed.
WNDPROC procAtClose = nullptr;
LRESULT CALLBACK foreignProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE)
    procAtClose = reinterpret_cast<WNDPROC>(GetWindowLongA(hwnd, GWL_WNDPROC));
  return message == WM_USER ? 42 : DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(WindowContainerTest, ExistWindowWrapsAForeignWindowAndGivesItsProcedureBack) {
  registerClass("ForeignTestWindow", foreignProc);
  HWND foreign = makeProbeWindow(nullptr, "ForeignTestWindow", "");
  RECT r = {};
  GetClientRect(foreign, &r);
  ExistWindow* wrapper = new ExistWindow(foreign);
  EXPECT_EQ(wrapper, root->findWindow(foreign));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(root->getWindowProc()),
            GetWindowLongA(foreign, GWL_WNDPROC));
  EXPECT_EQ(r.right, wrapper->clientWidth);
  EXPECT_EQ(r.bottom, wrapper->clientHeight);
  EXPECT_EQ(42, SendMessageA(foreign, WM_USER, 0, 0)) << "unhandled messages reach its procedure";
  delete wrapper;
  EXPECT_EQ(&foreignProc, procAtClose);
  EXPECT_EQ(nullptr, root->findWindow(foreign));
}

HWND userParent = nullptr;
WNDPROC userProc = nullptr;
HWND makeUserWindow(HINSTANCE, HWND parent) {
  HWND made = CreateWindowExA(0, "Static", "made", WS_CHILD, 0, 0, 10, 10, userParent = parent,
                              nullptr, nullptr, nullptr);
  userProc = reinterpret_cast<WNDPROC>(GetWindowLongA(made, GWL_WNDPROC));
  return made;
}

TEST_F(WindowContainerTest, UserWindowIsMadeByItsCallbackAndHandedBack) {
  holder->createIn(host);
  UserWindow* user = keep(new UserWindow("Setup"));
  user->createIn(holder);
  EXPECT_FALSE(user->isCreated()) << "no callback, nothing made";
  user->setCreateCallback(makeUserWindow);
  user->destroy();
  user->createIn(holder);
  HWND made = user->getHwnd();
  ASSERT_TRUE(IsWindow(made));
  EXPECT_EQ(holder->getHwnd(), userParent);
  EXPECT_EQ(user, root->findWindow(made));
  SendMessageA(made, WM_USER, 0, 0);
  EXPECT_EQ(nullptr, root->findWindow(made)) << "out of the registry at its first message";
  EXPECT_EQ(made, user->releaseWindow());
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(userProc), GetWindowLongA(made, GWL_WNDPROC));
}

}  // namespace
