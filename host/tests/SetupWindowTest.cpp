#include "host/SetupWindow.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>

#include "host/SystemPluginsSetupWindow.h"
#include "host/TabNotifyEdit.h"
#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"

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

  static bool shown(UserWindow* page) { return IsWindowVisible(page->getHwnd()) != 0; }
  // Which of the pages are on show, as a string of 0 and 1.
  static std::string visibility(std::initializer_list<UserWindow*> pages) {
    std::string out;
    for (UserWindow* page : pages) out += shown(page) ? '1' : '0';
    return out;
  }
  void click(HWND button) {
    RECT r = {};
    GetClientRect(button, &r);
    vorntest::clickAt(button, r.right / 2, r.bottom / 2);
  }
  bool expanded(HTREEITEM item) {
    TVITEMA query = {};
    query.mask = TVIF_STATE;
    query.hItem = item;
    query.stateMask = TVIS_EXPANDED;
    SendMessageA(window->getTree().getHwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return (query.state & TVIS_EXPANDED) != 0;
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

  HTREEITEM betaItem = window->addItem("Beta", beta);
  EXPECT_EQ(betaItem, window->getTree().getSelection());
  EXPECT_EQ("100", visibility({beta, gamma, alpha}));
  HTREEITEM gammaItem = window->addItem("Gamma", gamma);
  EXPECT_EQ(betaItem, window->getTree().getSelection());
  EXPECT_EQ("100", visibility({beta, gamma, alpha}));
  // Sorted in front of the others, it is the first root item now: selected and shown.
  HTREEITEM alphaItem = window->addItem("Alpha", alpha);
  EXPECT_EQ(alphaItem, window->getTree().getSelection());
  EXPECT_EQ("001", visibility({beta, gamma, alpha}));

  ASSERT_TRUE(vorntest::clickTreeItem(window->getTree().getHwnd(), gammaItem));
  EXPECT_EQ("010", visibility({beta, gamma, alpha}));
  EXPECT_GT(gamma->width, 0);  // the page area lays the shown page out
  EXPECT_GT(gamma->height, 0);
  EXPECT_EQ(gamma, window->getTree().getCurrentPage());
}

TEST_F(SetupWindowTest, ChildItemsExpandTheirParentAndShowTheirPage) {
  UserWindow* group = window->newPage();
  UserWindow* child = window->newPage();
  HTREEITEM groupItem = window->addItem("Group", group);
  HTREEITEM childItem = window->addChildItem(groupItem, "Plug-in", child);
  ASSERT_NE(nullptr, childItem);
  EXPECT_TRUE(expanded(groupItem));
  EXPECT_EQ(groupItem, window->getTree().getParentItem(childItem));
  EXPECT_EQ("10", visibility({group, child}));
  window->getTree().selectItem(childItem);
  EXPECT_EQ("01", visibility({group, child}));

  // Removing the shown page's item leaves that page hidden.
  window->removeItem(childItem);
  EXPECT_FALSE(shown(child));
  EXPECT_EQ(1, itemCount());
}

TEST_F(SetupWindowTest, ClearPagesDeletesEveryPageAndTheNextPageIsShownFirst) {
  UserWindow* one = window->newPage();
  UserWindow* two = window->newPage();
  window->addItem("One", one);
  window->addItem("Two", two);
  HWND handles[] = {one->getHwnd(), two->getHwnd()};
  window->clearPages();
  EXPECT_EQ(0, itemCount());
  for (HWND handle : handles) EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(nullptr, window->getTree().getCurrentPage());

  UserWindow* fresh = window->newPage();
  window->addItem("Fresh", fresh);
  EXPECT_TRUE(shown(fresh));
}

TEST_F(SetupWindowTest, ClosingOnlyHidesAndTellsTheOwnerOnce) {
  struct Case {
    const char* how;
    bool withOwner;
  };
  const Case cases[] = {{"button", true}, {"frame", true}, {"button", false}, {"frame", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.how) + (c.withOwner ? " with owner" : " without owner"));
    CountingOwner owner;
    window->setOwner(c.withOwner ? &owner : nullptr);
    window->show();
    ASSERT_TRUE(IsWindowVisible(window->getHwnd()));
    if (std::string(c.how) == "button")
      click(window->getCloseButton().getHwnd());
    else
      SendMessageA(window->getHwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window->getHwnd()));
    EXPECT_FALSE(IsWindowVisible(window->getHwnd()));
    EXPECT_EQ(c.withOwner ? 1 : 0, owner.closes);
    window->setOwner(nullptr);
  }
}

TEST_F(SetupWindowTest, DeletingTheWindowIsNoCloseForTheOwner) {
  CountingOwner owner;
  window->setOwner(&owner);
  window->addItem("Page", window->newPage());
  delete window;
  window = nullptr;
  EXPECT_EQ(0, owner.closes);
}

TEST_F(SetupWindowTest, TabAndEnterMoveTheFocusToTheNextEditWithoutTyping) {
  TabNotifyEdit server("Server");
  TabNotifyEdit port("Port");
  TabNotifyEdit alone("Alone");
  int x = 0;
  for (TabNotifyEdit* edit : {&server, &port, &alone}) {
    edit->createIn(panel);
    edit->move(x, 40, 150, 24);
    x += 160;
  }
  server.setNext(&port);
  port.setNext(&server);

  // Each key as the messages a key press brings: key down, its character, key up.
  auto type = [](TabNotifyEdit& edit, const char* keys) {
    for (const char* key = keys; *key != '\0'; ++key) {
      char c = *key == '\n' ? '\r' : *key;
      WPARAM code = c == '\r' ? VK_RETURN : c == '\t' ? VK_TAB : static_cast<WPARAM>(toupper(c));
      SendMessageA(edit.getHwnd(), WM_KEYDOWN, code, 1);
      SendMessageA(edit.getHwnd(), WM_CHAR, static_cast<unsigned char>(c), 1);
      SendMessageA(edit.getHwnd(), WM_KEYUP, code, 0xC0000001);
    }
  };
  server.setText("host");
  port.setText("6667");
  alone.setText("alone");
  type(server, "\t");
  EXPECT_EQ(port.getHwnd(), GetFocus());
  type(port, "\n");
  EXPECT_EQ(server.getHwnd(), GetFocus());
  type(server, "\n");
  EXPECT_EQ(port.getHwnd(), GetFocus());
  type(port, "\t");
  EXPECT_EQ(server.getHwnd(), GetFocus());
  EXPECT_EQ("host", textOf(server.getHwnd()));
  EXPECT_EQ("6667", textOf(port.getHwnd()));

  // Without a next window Enter is still taken, and never empties the edit.
  alone.setFocus();
  type(alone, "\n");
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
  ASSERT_NE(0, secondId);
  EXPECT_NE(firstId, secondId);
  EXPECT_TRUE(IsWindow(first));
  EXPECT_TRUE(IsWindow(second));
  char title[64] = {};
  GetWindowTextA(system.getWindow().getHwnd(), title, sizeof title);
  EXPECT_STREQ("System Plugins", title);

  system.open();
  EXPECT_TRUE(IsWindowVisible(system.getWindow().getHwnd()));
  system.removePage(firstId);
  system.removePage(0);  // a session without a page
  SendMessageA(system.getWindow().getHwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(1, listener.closes);
  EXPECT_FALSE(IsWindowVisible(system.getWindow().getHwnd()));

  system.removeAllPages();
  EXPECT_FALSE(IsWindow(second));
}

}  // namespace
