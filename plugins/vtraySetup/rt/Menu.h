// Main and pop-up menus of the runtime: items kept as components, turned into a layer menu
// whose items are owner-drawn while a drawing handler is set, the form's window measuring and
// painting them through the handlers.
#pragma once

#include <vector>

#include "plugins/vtraySetup/rt/MenuItem.h"
#include "plugins/vtraySetup/rt/RuntimeMessages.h"

namespace frt {

class Menu : public Component {
 public:
  Menu(Component* owner, bool bar);
  ~Menu() override;
  bool isBar() const { return bar_; }

  MenuItem* add(const std::string& caption);
  std::vector<MenuItem*> items() const;
  // The item with the command id anywhere in the menu's tree, or null.
  MenuItem* findItem(UINT command) const;
  // Builds the layer menu again from the items (after handlers or captions changed).
  void rebuild();
  HMENU handle();

  const ImageList* images = nullptr;
  bool rightToLeft = false;

  // WM_MEASUREITEM and WM_DRAWITEM for a live item of any menu: true when handled.
  static bool dispatchOwnerDraw(Message& message);

 private:
  friend class MenuItem;
  // A new live item owned by owner (the menu or an item of its tree).
  MenuItem* makeItem(Component* owner, const std::string& caption);
  // Appends the items to target, those with sub-items as sub-menus.
  void fill(HMENU target, const std::vector<MenuItem*>& list, const ImageList* listImages);

  bool bar_;
  HMENU handle_ = nullptr;
  UINT nextCommand_ = 1;
};

class MainMenu : public Menu {
 public:
  explicit MainMenu(Component* owner) : Menu(owner, true) {}
  const char* className() const override { return "TMainMenu"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TMainMenu" || n == "TMenu" || Menu::inheritsFrom(n);
  }
  // Shows the bar in a top-level window; false for a child window.
  bool attach(HWND window);
  // The bar's window, or null.
  HWND window() const { return window_; }
  // Draws the bar again (the items' faces may have changed).
  void redrawBar();

 private:
  HWND window_ = nullptr;
};

class PopupMenu : public Menu {
 public:
  explicit PopupMenu(Component* owner) : Menu(owner, false) {}
  const char* className() const override { return "TPopupMenu"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TPopupMenu" || n == "TMenu" || Menu::inheritsFrom(n);
  }
  // Shows the menu at a screen point, owned by window; the item picked, or null.
  MenuItem* popup(HWND owner, int x, int y);
};

}  // namespace frt
