#include "tests/desktop/ScreenImage.h"

#include <png.h>

#include <algorithm>
#include <unordered_map>

ScreenImage ScreenImage::cut(const Rect& area) const {
  int left = std::max(area.x, 0);
  int top = std::max(area.y, 0);
  int right = std::min(area.x + area.width, width_);
  int bottom = std::min(area.y + area.height, height_);
  if (right <= left || bottom <= top) return ScreenImage();
  ScreenImage part(right - left, bottom - top);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) part.set(x - left, y - top, at(x, y));
  return part;
}

uint32_t ScreenImage::commonest() const {
  std::unordered_map<uint32_t, long> counts;
  uint32_t best = 0;
  long bestCount = 0;
  for (uint32_t rgb : pixels_) {
    long count = ++counts[rgb];
    if (count > bestCount) {
      best = rgb;
      bestCount = count;
    }
  }
  return best;
}

long ScreenImage::countOther(uint32_t rgb) const {
  return static_cast<long>(
      std::count_if(pixels_.begin(), pixels_.end(), [rgb](uint32_t p) { return p != rgb; }));
}

std::vector<int> ScreenImage::bands() const {
  uint32_t background = commonest();
  std::vector<int> middles;
  int start = -1;
  for (int y = 0; y <= height_; ++y) {
    bool marked = false;
    for (int x = 0; x < width_ && y < height_ && !marked; ++x) marked = at(x, y) != background;
    if (marked && start < 0) start = y;
    if (!marked && start >= 0) {
      middles.push_back((start + y - 1) / 2);
      start = -1;
    }
  }
  return middles;
}

bool ScreenImage::operator==(const ScreenImage& other) const {
  return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
}

bool ScreenImage::savePng(const std::string& path) const {
  if (empty()) return false;
  std::vector<png_byte> rows(pixels_.size() * 3);
  for (size_t i = 0; i < pixels_.size(); ++i) {
    rows[i * 3] = static_cast<png_byte>(pixels_[i] >> 16);
    rows[i * 3 + 1] = static_cast<png_byte>(pixels_[i] >> 8);
    rows[i * 3 + 2] = static_cast<png_byte>(pixels_[i]);
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width_);
  image.height = static_cast<png_uint_32>(height_);
  image.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&image, path.c_str(), 0, rows.data(), width_ * 3, nullptr) != 0;
}
