// The tree of a setup window: each item carries the page it shows, and selecting an item
// hides the page shown before and shows the item's page in its place.
#pragma once

#include "lib/Tree.h"
#include "lib/UserWindow.h"

class SetupTree : public Tree {
 public:
  explicit SetupTree(const char* name);

  bool onSelect(HTREEITEM item, LPARAM data) override;
  // Hides the current page and shows page (null: none) in its place.
  void showPage(UserWindow* page);
  UserWindow* getCurrentPage() const { return current; }
  // Forgets the current page without touching it (the pages are going away).
  void forgetPage() { current = nullptr; }

 private:
  UserWindow* current = nullptr;
};
