// The host's main window: the "System" menu, the tab strip whose first page holds the console
// and the command line, plug-in tabs, the hot keys, and the receiver of the clients' requests.
#pragma once

#include "host/ConnectionRequest.h"
#include "host/SystemInput.h"
#include "host/SystemOutput.h"
#include "host/SystemTabs.h"
#include "lib/CompassContainer.h"
#include "lib/HashTable.h"
#include "lib/Menu.h"
#include "lib/TopWindow.h"
#include "lib/UserWindow.h"
#include "platform/win32.h"

class SystemWindow : public TopWindow {
 public:
  // The title of the program's main window; a second start looks for it.
  static const char* const Title;
  SystemWindow();
  ~SystemWindow() override;

  bool onMessage(const MSG& message) override;
  bool onCreate() override;
  bool onClose() override;
  bool onCommand(int id) override;
  bool onActivate(bool active) override;

  // Runs the client's handler for the request, then frees the record; a request of a client
  // that no longer exists is only freed.
  virtual void dispatchRequest(ConnectionRequest* request);
  // The host's hot keys; true when the key was one.
  virtual bool checkKeyPressed(int key);
  // Plug-in tabs, keyed by the handle addTab returned.
  virtual HWND addTab(const char* title);
  virtual HWND addTabWithFactory(const char* title, UserWindow::CreateCallback create);
  virtual void removeTab(HWND tab);
  virtual void highlightTab(HWND tab, bool on);
  virtual void selectTab(HWND tab);
  virtual bool isTabSelected(HWND tab);
  virtual void setTabText(HWND tab, const char* text);
  virtual void nextTab();
  virtual void previousTab();
  virtual void syncTabStyleMenu();
  // Clients take nextCommandId as their first menu id, then add their popup with its id count.
  virtual int nextCommandId();
  virtual void addMenu(const char* title, Menu* popup, int idCount);
  virtual void removeMenu(const char* title);
  virtual void showMenu();
  virtual void hideMenu();
  virtual void toggleMenu();

  // The parts of the window, for the host's own use and for tests.
  SystemOutput& getOutput() { return output; }
  SystemInput& getInput() { return input; }
  SystemTabs& getTabs() { return tabs; }
  Menu& getSystemMenu() { return systemMenu; }
  bool isMenuShown() const { return menuShown; }

  // The page window of a tab made by addTab: an empty "Static" child.
  static HWND createStaticChild(HINSTANCE instance, HWND parent);

 private:
  void buildMenus();
  void setMenuShown(bool shown);
  // The page of a tab handle, with its index in the strip (-1 when it is not there).
  UserWindow* pageOf(HWND tab, int* index);

  // Destroyed in the reverse order: menus, container, strip, command line, console.
  SystemOutput output;
  SystemInput input;
  SystemTabs tabs;
  CompassContainer containers;
  Menu menuBar;
  Menu systemMenu;
  Menu tabStyleMenu;
  int nextId = 32;
  bool menuShown = true;
  // Plug-in tab handle -> its page; the pages are owned here.
  HashTable<UserWindow*> tabPages;
};
