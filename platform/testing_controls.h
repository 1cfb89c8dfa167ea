// Test hooks of the tab strip, tree view and list view: a person's clicks and keys on an item,
// sent through the real Qt input path so subclassed procedures and notifications see them.
#pragma once

#include "platform/win32.h"

namespace vorntest {

// Tab strip ("SysTabControl32"). Each returns false for a dead window, a window of another
// class or an index with no tab.
// A left click on tab index.
VORNAPI bool clickTab(HWND tabs, int index);
// A right click on tab index (index -1: on the strip's empty area, right of the last tab).
VORNAPI bool rightClickTab(HWND tabs, int index);
// Where tab index is drawn, in the control's client coordinates.
VORNAPI bool tabRect(HWND tabs, int index, RECT* rect);

// Tree view ("SysTreeView32"). False for a dead window, another class or a stale item.
VORNAPI bool clickTreeItem(HWND tree, HTREEITEM item);
VORNAPI bool doubleClickTreeItem(HWND tree, HTREEITEM item);
// Clicks the item's check box (the control must have TVS_CHECKBOXES and the item a box).
VORNAPI bool clickTreeCheckBox(HWND tree, HTREEITEM item);

// List view ("SysListView32"). False for a dead window, another class or a bad index.
VORNAPI bool clickListItem(HWND list, int index);
VORNAPI bool doubleClickListItem(HWND list, int index);
// Presses Enter with the keyboard focus in the list.
VORNAPI bool pressEnterInList(HWND list);

}  // namespace vorntest
