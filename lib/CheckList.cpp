#include "lib/CheckList.h"

#include "lib/TreeItems.h"

#include <cstring>

#include "lib/Composite.h"
#include "lib/RootWindow.h"

namespace {
const UINT uncheckedImage = INDEXTOSTATEIMAGEMASK(1);
const UINT checkedImage = INDEXTOSTATEIMAGEMASK(2);
}  // namespace

CheckList::CheckList(const char* name) : Control(name) {}

const char* CheckList::typeName() const { return "checklist"; }

bool CheckList::onMessage(const MSG& message) {
  if (message.message == WM_NOTIFY && message.lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(message.lParam);
    if (header->code == TVN_SELCHANGEDA) {
      const NMTREEVIEWA* change = reinterpret_cast<const NMTREEVIEWA*>(message.lParam);
      return onSelect(change->itemNew.hItem, change->itemNew.lParam);
    }
  }
  return Window::onMessage(message);
}

void CheckList::create() {
  HWND parentHandle = parent ? parent->getHwnd() : nullptr;
  hwnd = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, "SysTreeView32", getName(),
                         WS_CHILD | WS_VISIBLE, 10, 10, 0, 100, parentHandle, nullptr,
                         getModuleInstance(), nullptr);
  LONG_PTR style = GetWindowLongA(hwnd, GWL_STYLE);
  SetWindowLongA(hwnd, GWL_STYLE, style | TVS_CHECKBOXES);
}

void CheckList::clear() {
  SendMessageA(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

HTREEITEM CheckList::addItem(const char* text, LPARAM data) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_SORT;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text ? text : "");
  insert.item.cchTextMax = static_cast<int>(std::strlen(insert.item.pszText));
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(hwnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void CheckList::removeItem(HTREEITEM item) {
  SendMessageA(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

HTREEITEM CheckList::getRoot() { return treeRelative(hwnd, nullptr, TVGN_ROOT); }

HTREEITEM CheckList::getNextSibling(HTREEITEM item) { return treeRelative(hwnd, item, TVGN_NEXT); }

LPARAM CheckList::getItemData(HTREEITEM item) { return treeItemData(hwnd, item); }

void CheckList::setChecked(HTREEITEM item, bool on) {
  TVITEMA change = {};
  change.mask = TVIF_STATE | TVIF_HANDLE;
  change.hItem = item;
  change.stateMask = TVIS_STATEIMAGEMASK;
  change.state = on ? checkedImage : uncheckedImage;
  SendMessageA(hwnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change));
}

bool CheckList::isChecked(HTREEITEM item) {
  TVITEMA query = {};
  query.mask = TVIF_STATE | TVIF_HANDLE;
  query.hItem = item;
  query.stateMask = TVIS_STATEIMAGEMASK;
  SendMessageA(hwnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
  return (query.state & TVIS_STATEIMAGEMASK) != uncheckedImage;
}

bool CheckList::onSelect(HTREEITEM, LPARAM) { return false; }

HTREEITEM CheckList::getSelection() { return treeRelative(hwnd, nullptr, TVGN_CARET); }

LPARAM CheckList::getSelectedData() { return getItemData(getSelection()); }
