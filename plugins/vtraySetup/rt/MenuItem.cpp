#include "plugins/vtraySetup/rt/MenuItem.h"

#include "plugins/vtraySetup/rt/Menu.h"

namespace frt {

MenuItem* MenuItem::add(const std::string& caption) {
  Menu* root = menu();
  if (root) return root->makeItem(this, caption);
  auto* item = new MenuItem(this);
  item->caption = caption;
  return item;
}

std::vector<MenuItem*> menuItemsOf(const Component& owner) {
  std::vector<MenuItem*> list;
  for (Component* c : owner.components())
    if (auto* item = dynamic_cast<MenuItem*>(c)) list.push_back(item);
  return list;
}

std::vector<MenuItem*> MenuItem::items() const { return menuItemsOf(*this); }

Menu* MenuItem::menu() const {
  for (Component* up = owner(); up != nullptr; up = up->owner()) {
    if (auto* root = dynamic_cast<Menu*>(up)) return root;
    if (dynamic_cast<MenuItem*>(up) == nullptr) return nullptr;
  }
  return nullptr;
}

}  // namespace frt
