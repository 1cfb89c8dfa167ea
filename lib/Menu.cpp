// A platform menu: a top-level window's menu bar, or a pop-up menu that may also serve as a
// submenu. Items are addressed by command id; a chosen item reaches the owner's onCommand.
#include "lib/Menu.h"

#include "lib/Window.h"

Menu::Menu(bool isMenuBar)
    : owner(nullptr),
      handle(isMenuBar ? CreateMenu() : CreatePopupMenu()),
      isMenuBar(isMenuBar ? 1 : 0),
      hidden(0),
      refCount(0) {}

Menu::~Menu() {}

void Menu::popup(Window* window, int x, int y) {
  if (isMenuBar || window == nullptr) {
    return;
  }
  POINT point = {x, y};
  HWND hwnd = window->getHwnd();
  ClientToScreen(hwnd, &point);
  TrackPopupMenu(handle, TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, hwnd, nullptr);
}

void Menu::setOwner(Window* window) {
  if (!isMenuBar || window == nullptr) {
    return;
  }
  SetMenu(window->getHwnd(), handle);
  owner = window;
  hidden = 0;
}

HMENU Menu::getHandle() { return handle; }

void Menu::hide() {
  if (hidden) {
    return;
  }
  SetMenu(ownerHandle(), nullptr);
  hidden = 1;
}

void Menu::show() {
  if (!hidden) {
    return;
  }
  SetMenu(ownerHandle(), handle);
  hidden = 0;
}

void Menu::appendItem(const char* text, int id) {
  AppendMenuA(handle, MF_STRING, static_cast<UINT_PTR>(id), text);
  itemsChanged();
}

void Menu::appendSeparator() {
  AppendMenuA(handle, MF_SEPARATOR, 0, nullptr);
  itemsChanged();
}

void Menu::appendSubMenu(const char* text, Menu* menu) {
  if (menu == nullptr || menu->isMenuBar) {
    return;
  }
  AppendMenuA(handle, MF_POPUP, reinterpret_cast<UINT_PTR>(menu->getHandle()), text);
  itemsChanged();
}

void Menu::appendCheckItem(const char* text, int id, bool checked) {
  AppendMenuA(handle, checked ? MF_CHECKED : MF_STRING, static_cast<UINT_PTR>(id), text);
  itemsChanged();
}

void Menu::removeItem(int id) {
  RemoveMenu(handle, static_cast<UINT>(id), MF_BYCOMMAND);
  itemsChanged();
}

void Menu::enable(int id) { EnableMenuItem(handle, static_cast<UINT>(id), MF_ENABLED); }

void Menu::disable(int id) { EnableMenuItem(handle, static_cast<UINT>(id), MF_GRAYED); }

void Menu::check(int id, bool on) {
  CheckMenuItem(handle, static_cast<UINT>(id), on ? MF_CHECKED : MF_UNCHECKED);
}

bool Menu::isChecked(int id) {
  return GetMenuState(handle, static_cast<UINT>(id), MF_BYCOMMAND) == MF_CHECKED;
}

Menu* Menu::addRef() {
  ++refCount;
  return this;
}

int Menu::release() {
  int count = --refCount;
  if (count == 0) {
    delete this;
  }
  return count;
}

void Menu::itemsChanged() {
  if (isMenuBar && owner != nullptr) {
    DrawMenuBar(ownerHandle());
  }
}

HWND Menu::ownerHandle() const { return owner != nullptr ? owner->getHwnd() : nullptr; }
