// The setup window: one page shown at a time, child items, clearing, closing that only hides,
// the edits that pass the focus on, and the system plug-ins' setup window.
#include "host/SetupWindow.h"

#include <cctype>

#include "host/SystemPluginsSetupWindow.h"
#include "host/TabNotifyEdit.h"
#include "lib/tests/ToolkitFixture.h"

namespace {

class CountingOwner : public PlugsListener {
 public:
  void onSetupClose() override { ++closes; }
  bool unloadPlug(PlugRecord*) override { return true; }
  bool loadPlug(PlugRecord*) override { return true; }
  int closes = 0;
};

class ProbedSetupWindow : public SetupWindow {
 public:
  using SetupWindow::SetupWindow;
  SetupTree& getTree() { return tree; }
  NotifyButton& getCloseButton() { return closeButton; }
};

class SetupWindowTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    if (lacksClass("SysTreeView32") || lacksClass("RichEdit20A"))
      GTEST_SKIP() << "no tree view or rich edit in this build";
    window = new ProbedSetupWindow("Test setup");
    root->addChild(window);
    window->show();
  }
  void TearDown() override {
    delete window;
    ControlTest::TearDown();
  }
  // Which of the pages are on show, as a string of 0 and 1.
  static std::string visibility(std::initializer_list<UserWindow*> pages) {
    std::string out;
    for (UserWindow* page : pages) out += IsWindowVisible(page->getHwnd()) ? '1' : '0';
    return out;
  }
  int itemCount() {
    return static_cast<int>(SendMessageA(window->getTree().getHwnd(), TVM_GETCOUNT, 0, 0));
  }

  ProbedSetupWindow* window = nullptr;
};

TEST_F(SetupWindowTest, OnlyTheSelectedItemsPageIsShownAndTheFirstRootIsSelected) {
  UserWindow* beta = window->newPage();
  UserWindow* gamma = window->newPage();
  UserWindow* alpha = window->newPage();
  EXPECT_EQ("100", visibility({beta, gamma, alpha}));  // later pages start hidden
  window->addItem("Beta", beta);
  HTREEITEM gammaItem = window->addItem("Gamma", gamma);
  EXPECT_EQ("100", visibility({beta, gamma, alpha}));
  // Sorted in front of the others, it is the first root item now: selected and shown.
  HTREEITEM alphaItem = window->addItem("Alpha", alpha);
  EXPECT_EQ(alphaItem, window->getTree().getSelection());
  EXPECT_EQ("001", visibility({beta, gamma, alpha}));
  ASSERT_TRUE(vorntest::clickTreeItem(window->getTree().getHwnd(), gammaItem));
  EXPECT_EQ("010", visibility({beta, gamma, alpha}));
  EXPECT_GT(gamma->width, 0);  // the page area lays the shown page out

  // A child item shows its page when selected; removing it leaves that page hidden.
  UserWindow* child = window->newPage();
  HTREEITEM childItem = window->addChildItem(gammaItem, "Plug-in", child);
  EXPECT_EQ(gammaItem, window->getTree().getParentItem(childItem));
  window->getTree().selectItem(childItem);
  EXPECT_EQ("0001", visibility({beta, gamma, alpha, child}));
  window->removeItem(childItem);
  EXPECT_EQ("0100", visibility({beta, gamma, alpha, child}));
  EXPECT_EQ(3, itemCount());

  HWND handle = beta->getHwnd();
  window->clearPages();
  EXPECT_EQ(0, itemCount());
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(nullptr, window->getTree().getCurrentPage());
  UserWindow* fresh = window->newPage();
  window->addItem("Fresh", fresh);
  EXPECT_EQ("1", visibility({fresh}));
}

TEST_F(SetupWindowTest, ClosingOnlyHidesAndTellsTheOwnerOnceButDeletingIsNoClose) {
  for (bool button : {true, false}) {
    CountingOwner owner;
    window->setOwner(&owner);
    window->show();
    if (button) {
      HWND close = window->getCloseButton().getHwnd();
      RECT r = {};
      GetClientRect(close, &r);
      vorntest::clickAt(close, r.right / 2, r.bottom / 2);
    } else {
      SendMessageA(window->getHwnd(), WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(IsWindow(window->getHwnd()));
    EXPECT_FALSE(IsWindowVisible(window->getHwnd()));
    EXPECT_EQ(1, owner.closes) << button;
    window->setOwner(nullptr);
  }
  SendMessageA(window->getHwnd(), WM_CLOSE, 0, 0);  // without an owner
  CountingOwner owner;
  window->setOwner(&owner);
  window->addItem("Page", window->newPage());
  delete window;
  window = nullptr;
  EXPECT_EQ(0, owner.closes);
}

TEST_F(SetupWindowTest, TabAndEnterMoveTheFocusToTheNextEditWithoutTyping) {
  TabNotifyEdit server("Server"), port("Port"), alone("Alone");
  int x = 0;
  for (TabNotifyEdit* edit : {&server, &port, &alone}) {
    edit->createIn(panel);
    edit->move(x += 160, 40, 150, 24);
  }
  server.setNext(&port);
  port.setNext(&server);
  // Each key as the messages a key press brings: key down, its character, key up.
  auto type = [](TabNotifyEdit& edit, char c) {
    WPARAM code = c == '\r' ? VK_RETURN : VK_TAB;
    SendMessageA(edit.getHwnd(), WM_KEYDOWN, code, 1);
    SendMessageA(edit.getHwnd(), WM_CHAR, static_cast<unsigned char>(c), 1);
    SendMessageA(edit.getHwnd(), WM_KEYUP, code, 0xC0000001);
  };
  server.setText("host");
  port.setText("6667");
  alone.setText("alone");
  type(server, '\t');
  EXPECT_EQ(port.getHwnd(), GetFocus());
  type(port, '\r');
  EXPECT_EQ(server.getHwnd(), GetFocus());
  EXPECT_EQ("host", textOf(server.getHwnd()));
  EXPECT_EQ("6667", textOf(port.getHwnd()));
  // Without a next window Enter is still taken, and never empties the edit.
  alone.setFocus();
  type(alone, '\r');
  EXPECT_EQ(alone.getHwnd(), GetFocus());
  EXPECT_EQ("alone", textOf(alone.getHwnd()));
}

TEST_F(SetupWindowTest, SystemPluginsPagesAreItemsOfTheirOwnWindow) {
  SystemPluginsSetupWindow system;
  CountingOwner listener;
  system.setListener(&listener);
  HWND first = nullptr, second = nullptr;
  int firstId = system.addPage("Tray", &first);
  int secondId = system.addPage("Clock", &second);
  ASSERT_NE(0, firstId);
  EXPECT_NE(firstId, secondId);
  EXPECT_TRUE(IsWindow(first) && IsWindow(second));
  system.open();
  system.removePage(firstId);
  system.removePage(0);  // a session without a page
  SendMessageA(system.getWindow().getHwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(1, listener.closes);
  system.removeAllPages();
  EXPECT_FALSE(IsWindow(second));
}

}  // namespace
