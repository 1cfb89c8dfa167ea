// A menu item of a main or pop-up menu: caption ("-" for a separator), shortcut text, check
// marks, an image by index or a bitmap of its own, and sub-items.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plugins/vtraySetup/rt/Bitmap.h"
#include "plugins/vtraySetup/rt/Component.h"
#include "plugins/vtraySetup/rt/ImageList.h"

namespace frt {

class Menu;

class MenuItem : public Component {
 public:
  explicit MenuItem(Component* owner) : Component(owner) {}
  const char* className() const override { return "TMenuItem"; }

  std::string caption;
  std::string shortCut;  // its text, empty when none
  bool checked = false;
  bool radioItem = false;
  bool enabled = true;
  int imageIndex = -1;
  const ImageList* images = nullptr;  // the menu's list, or the nearest sub-menu images
  const ImageList* subMenuImages = nullptr;  // the list for its sub-items, when set
  std::unique_ptr<Bitmap> bitmap;     // used when the list has no image for the index
  bool ownDrawing = false;            // the item has draw/measure handlers of its own
  UINT command = 0;         // the id its menu gives it
  bool onBar = false;       // an item of a main menu's bar
  bool rightToLeft = false;  // its menu reads right to left

  // Owner drawing: the menu's window asks for the size and the face of the item.
  using MeasureHandler = std::function<void(MenuItem&, Canvas&, int& width, int& height)>;
  using DrawHandler = std::function<void(MenuItem&, Canvas&, const RECT&, bool selected)>;
  MeasureHandler onMeasureItem;
  DrawHandler onDrawItem;
  const void* drawingOwner = nullptr;  // who set the handlers (null: the item's own)

  // A sub-item at the end of its sub-menu, with a command id unique in the whole menu.
  MenuItem* add(const std::string& caption);
  std::vector<MenuItem*> items() const;
  int subItemCount() const { return static_cast<int>(items().size()); }
  // The menu the item's tree hangs from, or null for an item outside any menu.
  Menu* menu() const;

  bool isLine() const { return caption == "-"; }
  // The glyph to show, or null.
  const Bitmap* glyph() const {
    const Bitmap* fromList = images ? images->image(imageIndex) : nullptr;
    return fromList ? fromList : bitmap.get();
  }
};

// The menu items among owner's components, in order.
std::vector<MenuItem*> menuItemsOf(const Component& owner);

}  // namespace frt
