#include "plugins/vtraySetup/skin/BarSkinning.h"

#include "plugins/vtraySetup/skin/BarPainter.h"
#include "plugins/vtraySetup/skin/FlatSkin.h"

namespace skin {

namespace {

bool isLine(const frt::ToolButton& button) {
  return button.style == frt::ToolButtonStyle::Separator ||
         button.style == frt::ToolButtonStyle::Divider;
}

ToolButtonView viewOf(frt::ToolBar& bar, frt::ToolButton& button, UINT state) {
  ToolButtonView v;
  v.bounds = button.bounds;
  v.state = state;
  v.down = button.down;
  v.enabled = button.enabled;
  v.dropDown = button.style == frt::ToolButtonStyle::DropDown;
  v.hasMenuItem = button.menuItem != nullptr;
  v.hasDropdownMenu = button.dropdownMenu != nullptr;
  v.rightToLeft = button.rightToLeft;
  v.imageIndex = button.imageIndex;
  v.caption = button.caption;
  v.color = frt::colorToRGB(bar.color);
  v.transparent = bar.transparent;
  v.showCaptions = bar.showCaptions;
  v.list = bar.list;
  v.images = bar.images;
  v.hotImages = bar.hotImages;
  v.disabledImages = bar.disabledImages;
  int index = bar.indexOf(&button);
  if (index > 0 && isLine(*bar.buttons()[index - 1])) {
    const frt::ToolButton& before = *bar.buttons()[index - 1];
    v.separatorBefore = true;
    v.separatorBounds = before.bounds;
    v.separatorTag = before.tag;
  }
  return v;
}

void hookToolBar(FlatSkin& skin, frt::ToolBar& bar) {
  bar.flat = true;
  if (bar.onCustomDrawButton && !skin.overrideOwnerDraw && bar.drawingOwner != &skin) return;
  FlatSkin* owner = &skin;
  bar.onCustomDrawButton = [owner](frt::ToolBar& b, frt::ToolButton& button, UINT state,
                                   bool& defaultDraw) {
    defaultDraw = false;
    // Separators are drawn with the button after them.
    if (isLine(button) || b.canvas() == nullptr) return;
    BarPainter::toolButton(*b.canvas(), viewOf(b, button, state), owner->context());
  };
  bar.drawingOwner = &skin;
}

void hookControlBar(FlatSkin& skin, frt::ControlBar& bar) {
  if (bar.onBandPaint && !skin.overrideOwnerDraw && bar.drawingOwner != &skin) return;
  FlatSkin* owner = &skin;
  bar.onBandPaint = [owner](frt::ControlBar& b, frt::Control&, frt::Canvas& canvas, RECT& rect,
                            frt::ControlBar::PaintOptions& options) {
    options = frt::ControlBar::PaintOptions{false, false};
    BarPainter::band(canvas, rect, frt::colorToRGB(b.color), owner->context());
  };
  bar.drawingOwner = &skin;
}

}  // namespace

bool BarSkinning::hook(FlatSkin& skin, frt::Control& control) {
  if (auto* tools = dynamic_cast<frt::ToolBar*>(&control)) {
    if (!skin.skinControls().test(xcToolbar)) return false;
    hookToolBar(skin, *tools);
  } else if (auto* bands = dynamic_cast<frt::ControlBar*>(&control)) {
    if (!skin.skinControls().test(xcControlbar)) return false;
    hookControlBar(skin, *bands);
  } else {
    return false;
  }
  control.invalidate();
  return true;
}

void BarSkinning::unhook(const FlatSkin& skin, frt::Control& control) {
  if (auto* tools = dynamic_cast<frt::ToolBar*>(&control)) {
    if (tools->drawingOwner != &skin) return;
    tools->onCustomDrawButton = nullptr;
    tools->drawingOwner = nullptr;
  } else if (auto* bands = dynamic_cast<frt::ControlBar*>(&control)) {
    if (bands->drawingOwner != &skin) return;
    bands->onBandPaint = nullptr;
    bands->drawingOwner = nullptr;
  }
  control.invalidate();
}

}  // namespace skin
