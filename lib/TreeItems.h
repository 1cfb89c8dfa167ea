// Item queries on a tree-view control shared by the toolkit's tree classes: the related item
// (root, next, parent, child, selection) and the caller's value of an item.
#pragma once

#include "platform/win32.h"

// The item in the given TVGN_ relation to item (null item for root and selection), or null.
inline HTREEITEM treeRelative(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// The caller's value of item; 0 for a deleted or unknown item.
inline LPARAM treeItemData(HWND tree, HTREEITEM item) {
  TVITEMA query = {};
  query.mask = TVIF_PARAM;
  query.hItem = item;
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return 0;
  return query.lParam;
}
