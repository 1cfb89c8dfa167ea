// The host's main window: the "System" menu, the tab strip whose first page holds the console
// and the command line, plug-in tabs, the hot keys, and the receiver of the clients' requests.
#pragma once

#include "host/ConnectionRequest.h"
#include "lib/Menu.h"
#include "lib/TopWindow.h"
#include "lib/UserWindow.h"
#include "platform/win32.h"

class SystemWindow : public TopWindow {
 public:
  SystemWindow();
  ~SystemWindow() override;

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

  // Private members follow (owned by the window's implementation).
};
