#include "plugins/vtraySetup/rt/Menu.h"

#include <algorithm>
#include <set>

namespace frt {

namespace {

// The items of every live menu: what the owner-draw messages carry is checked against it
// before it is used as an item.
// Kept by address: an item ending is no longer a whole MenuItem when its notice comes.
std::set<const void*>& liveItems() {
  static auto* items = new std::set<const void*>;
  return *items;
}

MenuItem* liveItem(ULONG_PTR data) {
  if (!liveItems().count(reinterpret_cast<const void*>(data))) return nullptr;
  return reinterpret_cast<MenuItem*>(data);
}

UINT flagsOf(const MenuItem& item) {
  if (item.isLine() && !item.onDrawItem) return MF_SEPARATOR;
  UINT flags = item.onDrawItem ? MF_OWNERDRAW : MF_STRING;
  if (!item.enabled) flags |= MF_GRAYED;
  if (item.checked) flags |= MF_CHECKED;
  return flags;
}

void measure(const MEASUREITEMSTRUCT& request, MEASUREITEMSTRUCT* answer) {
  MenuItem* item = liveItem(request.itemData);
  if (item == nullptr || !item->onMeasureItem) return;
  HDC screen = GetDC(nullptr);
  int width = static_cast<int>(answer->itemWidth), height = static_cast<int>(answer->itemHeight);
  {
    Canvas canvas(screen);
    item->onMeasureItem(*item, canvas, width, height);
  }
  ReleaseDC(nullptr, screen);
  answer->itemWidth = static_cast<UINT>(std::max(width, 0));
  answer->itemHeight = static_cast<UINT>(std::max(height, 0));
}

void draw(const DRAWITEMSTRUCT& request) {
  MenuItem* item = liveItem(request.itemData);
  if (item == nullptr || !item->onDrawItem || request.hDC == nullptr) return;
  Canvas canvas(request.hDC);
  item->onDrawItem(*item, canvas, request.rcItem, (request.itemState & ODS_SELECTED) != 0);
}

}  // namespace

Menu::Menu(Component* owner, bool bar) : Component(owner), bar_(bar) {}

Menu::~Menu() {
  destroyComponents();  // the items leave the live set before the layer menu goes
  if (handle_) DestroyMenu(handle_);
}

MenuItem* Menu::add(const std::string& caption) { return makeItem(this, caption); }

MenuItem* Menu::makeItem(Component* owner, const std::string& caption) {
  auto* item = new MenuItem(owner);
  item->caption = caption;
  item->command = nextCommand_++;
  item->onBar = bar_ && owner == this;
  item->images = images;
  liveItems().insert(static_cast<const Component*>(item));
  item->freeNotices.push_back([](Component* gone) { liveItems().erase(gone); });
  return item;
}

std::vector<MenuItem*> Menu::items() const { return menuItemsOf(*this); }

MenuItem* Menu::findItem(UINT command) const {
  if (command == 0) return nullptr;
  std::vector<MenuItem*> pending = items();
  while (!pending.empty()) {
    MenuItem* item = pending.back();
    pending.pop_back();
    if (item->command == command) return item;
    for (MenuItem* sub : item->items()) pending.push_back(sub);
  }
  return nullptr;
}

void Menu::rebuild() {
  if (handle_ == nullptr) handle_ = bar_ ? CreateMenu() : CreatePopupMenu();
  // Deleting an item that opens a sub-menu destroys that sub-menu too.
  while (GetMenuItemCount(handle_) > 0) DeleteMenu(handle_, 0, MF_BYPOSITION);
  fill(handle_, items(), images);
}

void Menu::fill(HMENU target, const std::vector<MenuItem*>& list, const ImageList* listImages) {
  for (MenuItem* item : list) {
    item->rightToLeft = rightToLeft;
    item->images = listImages;
    UINT flags = flagsOf(*item);
    LPCSTR text = item->caption.c_str();
    if (flags & MF_OWNERDRAW) text = reinterpret_cast<LPCSTR>(item);
    std::vector<MenuItem*> subItems = item->items();
    if (subItems.empty() || (flags & MF_SEPARATOR)) {
      AppendMenuA(target, flags, item->command, text);
      continue;
    }
    HMENU sub = CreatePopupMenu();
    fill(sub, subItems, item->subMenuImages ? item->subMenuImages : listImages);
    if (!AppendMenuA(target, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text))
      DestroyMenu(sub);
  }
}

HMENU Menu::handle() {
  if (handle_ == nullptr) rebuild();
  return handle_;
}

bool Menu::dispatchOwnerDraw(Message& message) {
  if (message.lParam == 0) return false;
  if (message.msg == WM_MEASUREITEM) {
    auto* request = reinterpret_cast<MEASUREITEMSTRUCT*>(message.lParam);
    if (request->CtlType != ODT_MENU || !liveItem(request->itemData)) return false;
    measure(*request, request);
  } else if (message.msg == WM_DRAWITEM) {
    auto* request = reinterpret_cast<DRAWITEMSTRUCT*>(message.lParam);
    if (request->CtlType != ODT_MENU || !liveItem(request->itemData)) return false;
    draw(*request);
  } else {
    return false;
  }
  message.result = TRUE;
  return true;
}

bool MainMenu::attach(HWND window) {
  if (!SetMenu(window, handle())) return false;
  window_ = window;
  return true;
}

void MainMenu::redrawBar() {
  rebuild();
  if (window_ && IsWindow(window_)) {
    SetMenu(window_, handle());
    DrawMenuBar(window_);
  }
}

MenuItem* PopupMenu::popup(HWND owner, int x, int y) {
  rebuild();
  UINT picked = static_cast<UINT>(
      TrackPopupMenu(handle(), TPM_RETURNCMD | TPM_LEFTALIGN, x, y, 0, owner, nullptr));
  return findItem(picked);
}

}  // namespace frt
