// Every operation is one list-view message; the control's notifications come back to this
// object, which turns them into onItemChanged and onItemActivate.
#include "lib/ListView.h"

#include "lib/RootWindow.h"

ListView::ListView(const char* name, int sortMode) : Control(name), sortMode(sortMode) {}

const char* ListView::typeName() const { return "list"; }

void ListView::create() {
  HWND parentHandle = parent ? parent->getHwnd() : nullptr;
  DWORD style = WS_CHILD | WS_VISIBLE | LVS_LIST | LVS_SINGLESEL;
  if (sortMode == Ascending) style |= LVS_SORTASCENDING;
  if (sortMode == Descending) style |= LVS_SORTDESCENDING;
  hwnd = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, "SysListView32", getName(), style, 10,
                         10, 0, 100, parentHandle, nullptr, getModuleInstance(), nullptr);
}

bool ListView::onMessage(const MSG& message) {
  if (message.message == WM_NOTIFY && message.lParam && hwnd) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(message.lParam);
    UINT code = header->code;
    if (header->hwndFrom == hwnd && code == LVN_ITEMCHANGED) {
      const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(message.lParam);
      if (change->uNewState & LVIS_FOCUSED) return onItemChanged(change->iItem, change->lParam);
    } else if (header->hwndFrom == hwnd && code == LVN_ITEMACTIVATE) {
      const NMITEMACTIVATE* activate = reinterpret_cast<const NMITEMACTIVATE*>(message.lParam);
      return onItemActivate(activate->iItem, getSelectedData());
    }
  }
  return Control::onMessage(message);
}

void ListView::setShowSelectionAlways(bool on) {
  LONG_PTR style = GetWindowLongA(hwnd, GWL_STYLE);
  style = on ? (style | LVS_SHOWSELALWAYS) : (style & ~static_cast<LONG_PTR>(LVS_SHOWSELALWAYS));
  SetWindowLongA(hwnd, GWL_STYLE, style);
}

void ListView::clear() { SendMessageA(hwnd, LVM_DELETEALLITEMS, 0, 0); }

void ListView::addItem(const char* text, LPARAM data) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = static_cast<int>(SendMessageA(hwnd, LVM_GETITEMCOUNT, 0, 0)) + 1;
  item.pszText = const_cast<char*>(text ? text : "");
  item.lParam = data;
  SendMessageA(hwnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ListView::removeItem(const char* text) {
  if (!text) return;
  LVFINDINFOA find = {};
  find.flags = LVFI_STRING;
  find.psz = text;
  int index = static_cast<int>(
      SendMessageA(hwnd, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
  if (index >= 0) SendMessageA(hwnd, LVM_DELETEITEM, index, 0);
}

int ListView::getSelectedIndex() {
  return static_cast<int>(
      SendMessageA(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

LPARAM ListView::getSelectedData() {
  int index = getSelectedIndex();
  if (index < 0) return 0;
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!SendMessageA(hwnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return item.lParam;
}

bool ListView::onItemChanged(int, LPARAM) { return true; }

bool ListView::onItemActivate(int, LPARAM) { return true; }
