// Pixels grabbed from a session's screen: cut, compared, counted, and saved as PNG for people
// to look at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Point {
  int x = 0;
  int y = 0;
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  Point at(int dx, int dy) const { return {x + dx, y + dy}; }
  Point centre() const { return at(width / 2, height / 2); }
  bool empty() const { return width <= 0 || height <= 0; }
};

class ScreenImage {
 public:
  ScreenImage() = default;
  ScreenImage(int width, int height) : width_(width), height_(height), pixels_(width * height) {}

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return pixels_.empty(); }
  uint32_t at(int x, int y) const { return pixels_[y * width_ + x]; }  // 0xRRGGBB
  void set(int x, int y, uint32_t rgb) { pixels_[y * width_ + x] = rgb; }

  // The part inside area, given in this image's coordinates.
  ScreenImage cut(const Rect& area) const;
  // The colour most pixels have: the background of a plain area.
  uint32_t commonest() const;
  // Pixels of any other colour than rgb.
  long countOther(uint32_t rgb) const;
  // The rows of lines that stand out from the commonest colour (text, icons), each given by
  // its middle: the items of a list or a tree.
  std::vector<int> bands() const;
  bool operator==(const ScreenImage& other) const;
  bool operator!=(const ScreenImage& other) const { return !(*this == other); }

  bool savePng(const std::string& path) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};
