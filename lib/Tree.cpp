// Every operation is one tree-view message; item handles are checked by the control, so a
// stale handle reads as nothing.
#include "lib/Tree.h"

#include "lib/TreeItems.h"

#include "lib/RootWindow.h"

#include <cstring>

Tree::Tree(const char* name, int lineStyle)
    : Control(name), lineStyle(lineStyle), rootInsertMode(InsertSorted) {}

const char* Tree::typeName() const { return "tree"; }

void Tree::create() {
  HWND parentHandle = parent ? parent->getHwnd() : nullptr;
  hwnd = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, "SysTreeView32", getName(),
                         WS_CHILD | WS_VISIBLE, 10, 10, 0, 100, parentHandle, nullptr,
                         getModuleInstance(), nullptr);
  LONG_PTR added = 0;
  switch (lineStyle) {
    case PlainLines:
      added = TVS_SHOWSELALWAYS;
      break;
    case Lines:
      added = TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
      break;
    case LinesAndButtons:
      added = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
      break;
    default:
      return;
  }
  SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) | added);
}

bool Tree::onMessage(const MSG& message) {
  if (message.message == WM_NOTIFY && message.lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(message.lParam);
    if (header->hwndFrom == hwnd && hwnd && header->code == TVN_SELCHANGEDA) {
      const NMTREEVIEWA* change = reinterpret_cast<const NMTREEVIEWA*>(message.lParam);
      return onSelect(change->itemNew.hItem, change->itemNew.lParam);
    }
  }
  return Control::onMessage(message);
}

void Tree::clear() { SendMessageA(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); }

void Tree::setRootInsertMode(int mode) { rootInsertMode = mode; }

HTREEITEM Tree::insertItem(HTREEITEM parentItem, HTREEITEM after, const char* text, LPARAM data) {
  if (!text) text = "";
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parentItem;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text);
  insert.item.cchTextMax = static_cast<int>(strlen(text));
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(hwnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM Tree::addChildItem(HTREEITEM parentItem, const char* text, LPARAM data) {
  return insertItem(parentItem, TVI_SORT, text, data);
}

HTREEITEM Tree::addRootItem(const char* text, LPARAM data) {
  HTREEITEM after = TVI_SORT;
  if (rootInsertMode == InsertFirst) after = TVI_FIRST;
  if (rootInsertMode == InsertLast) after = TVI_LAST;
  return insertItem(TVI_ROOT, after, text, data);
}

void Tree::removeItem(HTREEITEM item) {
  SendMessageA(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void Tree::selectItem(HTREEITEM item) {
  SendMessageA(hwnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void Tree::expand(HTREEITEM item) {
  SendMessageA(hwnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

void Tree::collapse(HTREEITEM item) {
  SendMessageA(hwnd, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
}

HTREEITEM Tree::nextItem(HTREEITEM item, UINT relation) {
  return treeRelative(hwnd, item, relation);
}

HTREEITEM Tree::getRoot() { return nextItem(nullptr, TVGN_ROOT); }

HTREEITEM Tree::getNextSibling(HTREEITEM item) { return nextItem(item, TVGN_NEXT); }

HTREEITEM Tree::getParentItem(HTREEITEM item) { return nextItem(item, TVGN_PARENT); }

HTREEITEM Tree::getFirstChild(HTREEITEM item) { return nextItem(item, TVGN_CHILD); }

LPARAM Tree::getItemData(HTREEITEM item) { return treeItemData(hwnd, item); }

HTREEITEM Tree::getSelection() { return nextItem(nullptr, TVGN_CARET); }

LPARAM Tree::getSelectedData() { return getItemData(getSelection()); }

bool Tree::onSelect(HTREEITEM, LPARAM) { return false; }
