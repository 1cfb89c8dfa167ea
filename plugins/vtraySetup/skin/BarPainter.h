// The skin's drawing events of tool bars and control bars: a tool button's fills, frames,
// drop-down arrow, glyph, caption and the separator before it; a band's grip.
#pragma once

#include <string>

#include "plugins/vtraySetup/rt/ImageList.h"
#include "plugins/vtraySetup/skin/SkinContext.h"

namespace skin {

constexpr UINT CDIS_SELECTED = 0x1, CDIS_GRAYED = 0x2, CDIS_DISABLED = 0x4, CDIS_CHECKED = 0x8,
               CDIS_FOCUS = 0x10, CDIS_DEFAULT = 0x20, CDIS_HOT = 0x40, CDIS_MARKED = 0x80,
               CDIS_INDETERMINATE = 0x100;

struct ToolButtonView {
  RECT bounds{0, 0, 0, 0};
  UINT state = 0;  // CDIS_* bits
  bool down = false;
  bool enabled = true;
  bool dropDown = false;
  bool hasMenuItem = false;
  bool hasDropdownMenu = false;
  bool rightToLeft = false;
  int imageIndex = -1;
  std::string caption;
  // The tool bar's.
  COLORREF color = 0;
  bool transparent = false;
  bool showCaptions = false;
  bool list = false;
  const frt::ImageList* images = nullptr;
  const frt::ImageList* hotImages = nullptr;
  const frt::ImageList* disabledImages = nullptr;
  // The button before it, when that one is a separator or divider.
  bool separatorBefore = false;
  RECT separatorBounds{0, 0, 0, 0};
  int separatorTag = 0;
};

class BarPainter {
 public:
  // The list whose image the button shows, or null for no glyph.
  static const frt::ImageList* imagesFor(const ToolButtonView& view);
  // Returns the default-drawing flag: always false.
  static bool toolButton(frt::Canvas& canvas, const ToolButtonView& view,
                         const SkinContext& context);
  static void band(frt::Canvas& canvas, const RECT& rect, COLORREF color,
                   const SkinContext& context);
};

}  // namespace skin
