// An off-screen picture: a layer bitmap selected into its own memory context, with a canvas
// to draw on it and pixel access for the glyph effects.
#pragma once

#include <memory>

#include "plugins/vtraySetup/rt/Canvas.h"

namespace frt {

class Bitmap {
 public:
  Bitmap(int width, int height);
  ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  HDC dc() const { return dc_; }
  Canvas& canvas() { return *canvas_; }
  COLORREF pixel(int x, int y) const { return GetPixel(dc_, x, y); }
  void setPixel(int x, int y, COLORREF color) { SetPixel(dc_, x, y, color); }
  void fill(Color color);
  // Copies a width x height part of source at (sx, sy) to (x, y).
  void copyFrom(const Bitmap& source, int sx, int sy, int width, int height, int x = 0,
                int y = 0);

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  std::unique_ptr<Canvas> canvas_;
};

}  // namespace frt
