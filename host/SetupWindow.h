// The host's settings window: a tree of named pages on the left with "Close" under it, and the
// selected item's page on the right. Closing only hides it and tells the owner.
#pragma once

#include "host/PlugsListener.h"
#include "lib/TopWindow.h"
#include "lib/UserWindow.h"
#include "platform/win32.h"

class SetupWindow : public FixedWindow {
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

  // Private members follow (owned by the window's implementation).
};
