#include "plugins/vtraySetup/rt/ImageList.h"

namespace frt {

Bitmap& ImageList::add() {
  images_.emplace_back(new Bitmap(width_, height_));
  return *images_.back();
}

const Bitmap* ImageList::image(int index) const {
  if (index < 0 || index >= count()) return nullptr;
  return images_[index].get();
}

void ImageList::draw(Canvas& canvas, int index, int x, int y) const {
  const Bitmap* picture = image(index);
  if (picture == nullptr) return;
  COLORREF clear = picture->pixel(0, picture->height() - 1);
  for (int py = 0; py < picture->height(); ++py)
    for (int px = 0; px < picture->width(); ++px) {
      COLORREF c = picture->pixel(px, py);
      if (c != clear) canvas.setPixel(x + px, y + py, c);
    }
}

}  // namespace frt
