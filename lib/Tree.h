// A tree of text items over the system tree view, each item carrying a caller's value; root
// items go first, last or sorted, children always sorted.
#pragma once

#include "lib/Control.h"

class Tree : public Control {
 public:
  // Line styles: how much of the tree's structure is drawn.
  enum { PlainLines = 0, Lines = 1, LinesAndButtons = 2 };
  // Where addRootItem puts a new root item.
  enum { InsertFirst = 0, InsertLast = 1, InsertSorted = 2 };

  Tree(const char* name, int lineStyle);

  const char* typeName() const override;
  bool onMessage(const MSG& message) override;
  void create() override;

  // Added operations, in the order of the virtual table.
  virtual void clear();
  virtual void setRootInsertMode(int mode);
  // The new item under parent, sorted among its siblings (0 when the control refused it).
  virtual HTREEITEM addChildItem(HTREEITEM parent, const char* text, LPARAM data);
  virtual HTREEITEM addRootItem(const char* text, LPARAM data);
  virtual void removeItem(HTREEITEM item);
  virtual void selectItem(HTREEITEM item);
  virtual void expand(HTREEITEM item);
  virtual void collapse(HTREEITEM item);
  virtual HTREEITEM getRoot();
  virtual HTREEITEM getNextSibling(HTREEITEM item);
  virtual HTREEITEM getParentItem(HTREEITEM item);
  virtual HTREEITEM getFirstChild(HTREEITEM item);
  // The item's value, 0 for an item that no longer exists.
  virtual LPARAM getItemData(HTREEITEM item);
  virtual HTREEITEM getSelection();
  virtual LPARAM getSelectedData();
  // The selection moved to item (0 when none is left).
  virtual bool onSelect(HTREEITEM item, LPARAM data);

 protected:
  int lineStyle;
  int rootInsertMode;

 private:
  HTREEITEM insertItem(HTREEITEM parent, HTREEITEM after, const char* text, LPARAM data);
  HTREEITEM nextItem(HTREEITEM item, UINT relation);
};
