// A list of same-sized pictures picked by index, for menu items and tool buttons.
#pragma once

#include <memory>
#include <vector>

#include "plugins/vtraySetup/rt/Bitmap.h"
#include "plugins/vtraySetup/rt/Component.h"

namespace frt {

class ImageList : public Component {
 public:
  ImageList(Component* owner, int width, int height)
      : Component(owner), width_(width), height_(height) {}
  const char* className() const override { return "TImageList"; }
  int width() const { return width_; }
  int height() const { return height_; }
  int count() const { return static_cast<int>(images_.size()); }
  // A new image to draw on; the list keeps it.
  Bitmap& add();
  // The image, or null for an index outside the list.
  const Bitmap* image(int index) const;
  // Draws image index at (x, y) leaving its transparent colour (bottom-left pixel) out.
  void draw(Canvas& canvas, int index, int x, int y) const;

 private:
  int width_, height_;
  std::vector<std::unique_ptr<Bitmap>> images_;
};

}  // namespace frt
