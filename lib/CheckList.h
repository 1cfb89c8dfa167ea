// A flat list of items with check boxes, kept sorted by text, each item carrying a caller's
// value; built on the system tree view with check boxes.
#pragma once

#include "lib/Control.h"

class CheckList : public Control {
 public:
  explicit CheckList(const char* name);

  const char* typeName() const override;
  bool onMessage(const MSG& message) override;
  void create() override;

  // Added operations, in the order of the virtual table.
  virtual void clear();
  // The new item's handle (0 when the control refused it).
  virtual HTREEITEM addItem(const char* text, LPARAM data);
  virtual void removeItem(HTREEITEM item);
  virtual HTREEITEM getRoot();
  virtual HTREEITEM getNextSibling(HTREEITEM item);
  // The item's value, 0 for an item that no longer exists.
  virtual LPARAM getItemData(HTREEITEM item);
  virtual void setChecked(HTREEITEM item, bool on);
  // True for every check state but "unchecked".
  virtual bool isChecked(HTREEITEM item);
  virtual bool onSelect(HTREEITEM item, LPARAM data);
  virtual HTREEITEM getSelection();
  virtual LPARAM getSelectedData();
};
