#include "plugins/vtraySetup/rt/Bitmap.h"

namespace frt {

Bitmap::Bitmap(int width, int height)
    : width_(width > 0 ? width : 1), height_(height > 0 ? height : 1) {
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateCompatibleBitmap(dc_, width_, height_);
  SelectObject(dc_, bitmap_);
  canvas_.reset(new Canvas(dc_));
}

Bitmap::~Bitmap() {
  canvas_.reset();
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

void Bitmap::fill(Color color) {
  RECT all{0, 0, width_, height_};
  canvas_->fillRect(all, color);
}

void Bitmap::copyFrom(const Bitmap& source, int sx, int sy, int width, int height, int x,
                      int y) {
  BitBlt(dc_, x, y, width, height, source.dc(), sx, sy, SRCCOPY);
}

}  // namespace frt
