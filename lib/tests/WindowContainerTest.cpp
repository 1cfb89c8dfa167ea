#include "lib/WindowContainer.h"

#include "lib/ExistWindow.h"
#include "lib/UserWindow.h"
#include "lib/tests/LayoutHarness.h"

using namespace layouttest;

namespace {

class Holder : public WindowContainer {
 public:
  Holder() : WindowContainer("holder") {}
  const char* typeName() const override { return "holder"; }
  bool onPaint() override {
    paints++;
    return true;
  }
  int paints = 0;
};

class WindowContainerTest : public LayoutTest {};

TEST_F(WindowContainerTest, ClientFillsTheContainer) {
  Holder* holder = keep(new Holder);
  holder->createIn(host);
  holder->move(5, 5, 300, 200);
  Leaf* client = leaf("client");
  holder->setClient(client);
  EXPECT_EQ((Box{0, 0, 300, 200}), placed(client));

  SendMessageA(holder->getHwnd(), WM_SIZE, 0, MAKELPARAM(120, 80));
  EXPECT_EQ((Box{0, 0, 120, 80}), placed(client));
  holder->move(0, 0, 250, 90);
  EXPECT_EQ((Box{0, 0, 250, 90}), placed(client));
  EXPECT_EQ((Box{0, 0, 250, 90}), layerPlacement(client->getHwnd()));

  HWND old = client->getHwnd();
  Leaf* next = leaf("next");
  holder->setClient(next);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(0, holder->indexOf(next));
  EXPECT_EQ((Box{0, 0, 250, 90}), placed(next));
}

TEST_F(WindowContainerTest, IgnoresNotificationsAddressedToAnotherWindow) {
  Holder* holder = keep(new Holder);
  holder->createIn(host);
  // A command notification from the holder reaches the holder's object with the host's
  // handle in the record; the holder must not take it as its own.
  SendMessageA(host->getHwnd(), WM_COMMAND, MAKEWPARAM(7, 0),
               reinterpret_cast<LPARAM>(holder->getHwnd()));
  EXPECT_EQ(0, holder->paints);
  SendMessageA(holder->getHwnd(), WM_PAINT, 0, 0);
  EXPECT_EQ(1, holder->paints);
}

// A procedure of a window made outside the toolkit; notes which procedure the window had
// when it was closed.
WNDPROC procAtClose = nullptr;
int foreignMessages = 0;
LRESULT CALLBACK foreignProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE)
    procAtClose = reinterpret_cast<WNDPROC>(GetWindowLongA(hwnd, GWL_WNDPROC));
  if (message == WM_USER + 1) foreignMessages++;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND makeForeignWindow() {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = foreignProc;
  wc.lpszClassName = "ForeignTestWindow";
  RegisterClassExA(&wc);
  return CreateWindowExA(0, "ForeignTestWindow", "foreign", WS_OVERLAPPEDWINDOW, 0, 0, 220, 130,
                         nullptr, nullptr, nullptr, nullptr);
}

TEST_F(WindowContainerTest, ExistWindowWrapsAForeignWindowAndGivesItsProcedureBack) {
  HWND foreign = makeForeignWindow();
  ASSERT_TRUE(IsWindow(foreign));
  RECT client = {};
  GetClientRect(foreign, &client);
  procAtClose = nullptr;
  foreignMessages = 0;

  ExistWindow* wrapper = new ExistWindow(foreign);
  EXPECT_EQ(foreign, wrapper->getHwnd());
  EXPECT_EQ(wrapper, root->findWindow(foreign));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(root->getWindowProc()), GetWindowLongA(foreign, GWL_WNDPROC));
  EXPECT_EQ(client.right, wrapper->clientWidth);
  EXPECT_EQ(client.bottom, wrapper->clientHeight);
  EXPECT_STREQ("Exist Window", wrapper->typeName());
  EXPECT_STREQ("Exist Window", wrapper->getName());

  // What the toolkit does not handle still reaches the window's own procedure.
  SendMessageA(foreign, WM_USER + 1, 0, 0);
  EXPECT_EQ(1, foreignMessages);

  delete wrapper;
  EXPECT_EQ(&foreignProc, procAtClose);
  EXPECT_EQ(nullptr, root->findWindow(foreign));
}

HWND userParent = nullptr;
WNDPROC userProc = nullptr;
HWND makeUserWindow(HINSTANCE, HWND parent) {
  userParent = parent;
  HWND made = CreateWindowExA(0, "Static", "made", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                              nullptr, nullptr, nullptr);
  userProc = reinterpret_cast<WNDPROC>(GetWindowLongA(made, GWL_WNDPROC));
  return made;
}

TEST_F(WindowContainerTest, UserWindowIsMadeByItsCallbackAndHandedBack) {
  Holder* holder = keep(new Holder);
  holder->createIn(host);
  UserWindow* user = keep(new UserWindow("Setup"));
  user->setCreateCallback(makeUserWindow);
  user->createIn(holder);
  HWND made = user->getHwnd();
  ASSERT_TRUE(IsWindow(made));
  EXPECT_EQ(holder->getHwnd(), userParent);
  EXPECT_EQ(user, root->findWindow(made));
  EXPECT_STREQ("userwindow", user->typeName());

  // The first message it sees takes it out of the registry.
  SendMessageA(made, WM_USER + 1, 0, 0);
  EXPECT_EQ(nullptr, root->findWindow(made));

  EXPECT_EQ(made, user->releaseWindow());
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(userProc), GetWindowLongA(made, GWL_WNDPROC));

  // Without a callback nothing is made.
  UserWindow* empty = keep(new UserWindow("empty"));
  empty->createIn(holder);
  EXPECT_FALSE(empty->isCreated());
}

}  // namespace
