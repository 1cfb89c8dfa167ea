#include "host/SetupTree.h"

#include "lib/Composite.h"

SetupTree::SetupTree(const char* name) : Tree(name, Tree::Lines) {}

bool SetupTree::onSelect(HTREEITEM, LPARAM data) {
  showPage(reinterpret_cast<UserWindow*>(data));
  return true;
}

void SetupTree::showPage(UserWindow* page) {
  if (page == current) return;
  if (current != nullptr) current->hide();
  current = page;
  if (current == nullptr) return;
  current->show();
  // The line holding the pages gives the shown page its place.
  if (current->getParent() != nullptr) current->getParent()->update();
}
