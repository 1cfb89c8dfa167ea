// The host's settings window: a tree of named pages on the left with "Close" under it, and the
// selected item's page on the right. Closing only hides it and tells the owner.
#pragma once

#include "host/ButtonListener.h"
#include "host/NotifyButton.h"
#include "host/PlugsListener.h"
#include "host/SetupLayout.h"
#include "host/SetupTree.h"
#include "lib/List.h"
#include "lib/TopWindow.h"
#include "lib/UserWindow.h"
#include "platform/win32.h"

class SetupWindow : public FixedWindow, public ButtonListener {
 public:
  explicit SetupWindow(const char* title);
  ~SetupWindow() override;

  void setOwner(PlugsListener* owner);
  // A new empty page; the owner builds its controls inside the page's window.
  UserWindow* newPage();
  // Tree items are the tree's item handles.
  HTREEITEM addItem(const char* text, UserWindow* page);
  HTREEITEM addChildItem(HTREEITEM parent, const char* text, UserWindow* page);
  void removeItem(HTREEITEM item);
  void clearPages();

  bool onCreate() override;
  // Hides the window and tells the owner; the window is kept.
  bool onClose() override;
  void onButton(int id) override;

 protected:
  PlugsListener* owner = nullptr;
  SetupTree tree;
  NotifyButton closeButton;
  SetupLine sides;   // tree column beside the pages
  SetupLine column;  // tree above "Close"
  SetupLine pageArea;
  List<UserWindow*> pages{5};
};
