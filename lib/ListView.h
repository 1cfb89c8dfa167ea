// A single-selection list of text items over the system list view, each item carrying a
// caller's value; unsorted, or sorted ascending or descending by the control.
#pragma once

#include "lib/Control.h"

class ListView : public Control {
 public:
  // Sort modes.
  enum { Unsorted = 0, Ascending = 1, Descending = 2 };

  ListView(const char* name, int sortMode);

  const char* typeName() const override;
  bool onMessage(const MSG& message) override;
  void create() override;

  // Added operations, in the order of the virtual table.
  virtual void setShowSelectionAlways(bool on);
  virtual void clear();
  // Appends the item (a sorted list puts it in its place).
  virtual void addItem(const char* text, LPARAM data);
  // Removes the first item with this text (case ignored); nothing when none has it.
  virtual void removeItem(const char* text);
  // The selected item's index, -1 when none is selected.
  virtual int getSelectedIndex();
  // The selected item's value, 0 when none is selected.
  virtual LPARAM getSelectedData();
  // The item at index became the current one.
  virtual bool onItemChanged(int index, LPARAM data);
  // The user opened the item at index (double click, Enter).
  virtual bool onItemActivate(int index, LPARAM data);

 protected:
  int sortMode;
};
