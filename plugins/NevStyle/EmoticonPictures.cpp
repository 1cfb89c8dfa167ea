#include "plugins/NevStyle/EmoticonPictures.h"

#include <cmath>
#include <cstring>

namespace {

// One picture being drawn, rows from the top.
struct Canvas {
  COLORREF pixel[kEmoticonSize][kEmoticonSize];
  void set(int x, int y, COLORREF colour) {
    if (x >= 0 && y >= 0 && x < kEmoticonSize && y < kEmoticonSize) pixel[y][x] = colour;
  }
  void row(int x1, int x2, int y, COLORREF colour) {
    for (int x = x1; x <= x2; ++x) set(x, y, colour);
  }
};

struct Dot {
  signed char x, y;
};

const COLORREF kPane = RGB(238, 255, 238);  // the chat pane's usual background
const COLORREF kFace = RGB(255, 214, 40);
const COLORREF kRim = RGB(150, 96, 0);
const COLORREF kInk = RGB(40, 24, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(214, 40, 40);
const COLORREF kTear = RGB(40, 130, 240);

const Dot kSmile[] = {{4, 10}, {5, 11}, {6, 12}, {7, 12}, {8, 12}, {9, 12}, {10, 11}, {11, 10}};
const Dot kFrown[] = {{4, 12}, {5, 11}, {6, 10}, {7, 10}, {8, 10}, {9, 10}, {10, 11}, {11, 12}};
const Dot kWave[] = {{4, 11}, {5, 10}, {6, 10}, {7, 11}, {8, 12}, {9, 12}, {10, 11}, {11, 10}};
const Dot kSmallO[] = {{7, 10}, {8, 10}, {6, 11}, {9, 11}, {7, 12}, {8, 12}};
const Dot kBracket[] = {{4, 12}, {4, 11}, {5, 11},  {6, 11},  {7, 11},
                        {8, 11}, {9, 11}, {10, 11}, {11, 11}, {11, 12}};

void dots(Canvas& c, const Dot* list, int count, COLORREF colour) {
  for (int i = 0; i < count; ++i) c.set(list[i].x, list[i].y, colour);
}
#define DOTS(canvas, list, colour) dots(canvas, list, sizeof(list) / sizeof(list[0]), colour)

void face(Canvas& c) {
  for (int y = 0; y < kEmoticonSize; ++y)
    for (int x = 0; x < kEmoticonSize; ++x) {
      double d = std::hypot(x - 7.5, y - 7.5);
      c.pixel[y][x] = d < 6.6 ? kFace : d < 7.6 ? kRim : kPane;
    }
}

void eyes(Canvas& c) {
  for (int x : {5, 10}) {
    c.set(x, 5, kInk);
    c.set(x, 6, kInk);
  }
}

void grin(Canvas& c) {
  c.row(4, 11, 9, kInk);
  c.set(4, 10, kInk);
  c.row(5, 10, 10, kWhite);
  c.set(11, 10, kInk);
  c.set(5, 11, kInk);
  c.row(6, 9, 11, kRed);
  c.set(10, 11, kInk);
  c.row(6, 9, 12, kInk);
}

void draw(Canvas& c, int id) {
  face(c);
  switch (id) {
    case SmileEmoticon:
      eyes(c), DOTS(c, kSmile, kInk);
      break;
    case CoolEmoticon:
      c.row(3, 12, 5, kInk), c.row(4, 6, 6, kInk), c.row(9, 11, 6, kInk), DOTS(c, kSmile, kInk);
      break;
    case GrinEmoticon:
      eyes(c), grin(c);
      break;
    case ConfusedEmoticon:
      eyes(c), c.set(4, 3, kInk), c.set(5, 3, kInk), DOTS(c, kWave, kInk);
      break;
    case SurprisedEmoticon:
      eyes(c), DOTS(c, kSmallO, kInk);
      break;
    case GrimEmoticon:
      eyes(c), c.row(4, 6, 4, kInk), c.row(9, 11, 4, kInk), DOTS(c, kBracket, kInk);
      break;
    case TongueEmoticon:
      eyes(c), c.row(4, 11, 10, kInk), c.row(7, 9, 11, kRed), c.row(7, 9, 12, kRed);
      break;
    case SadEmoticon:
      eyes(c), DOTS(c, kFrown, kInk);
      break;
    case ShockedEmoticon:
      for (int x : {4, 5, 10, 11}) c.set(x, 5, kInk), c.set(x, 6, kInk);
      c.row(7, 8, 9, kInk), c.row(6, 9, 13, kRed), c.row(7, 8, 13, kInk);
      for (int y = 10; y <= 12; ++y) c.set(6, y, kInk), c.row(7, 8, y, kRed), c.set(9, y, kInk);
      break;
    case WinkEmoticon:
      c.set(5, 5, kInk), c.set(5, 6, kInk), c.row(9, 11, 6, kInk), DOTS(c, kSmile, kInk);
      break;
    case CryEmoticon:
      eyes(c), DOTS(c, kFrown, kInk), c.set(5, 8, kTear), c.set(4, 9, kTear), c.set(5, 9, kTear);
      break;
  }
}

bool isEmoticon(int id) {
  for (int known : kEmoticonIds)
    if (known == id) return true;
  return false;
}

void put16(std::vector<unsigned char>& out, size_t at, unsigned value) {
  out[at] = static_cast<unsigned char>(value);
  out[at + 1] = static_cast<unsigned char>(value >> 8);
}

void put32(std::vector<unsigned char>& out, size_t at, unsigned value) {
  put16(out, at, value & 0xFFFF);
  put16(out, at + 2, value >> 16);
}

int indexOf(int id) {
  for (int i = 0; i < kEmoticonCount; ++i)
    if (kEmoticonIds[i] == id) return i;
  return -1;
}

}  // namespace

std::vector<unsigned char> emoticonBmp(int id) {
  if (!isEmoticon(id)) return {};
  Canvas canvas;
  draw(canvas, id);
  const unsigned rowBytes = kEmoticonSize * 3;  // 48: already a multiple of 4
  const unsigned pixelBytes = rowBytes * kEmoticonSize;
  const unsigned offset = 14 + 40;
  std::vector<unsigned char> out(offset + pixelBytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  put32(out, 2, offset + pixelBytes);
  put32(out, 10, offset);
  put32(out, 14, 40);
  put32(out, 18, kEmoticonSize);
  put32(out, 22, kEmoticonSize);  // positive: rows stored from the bottom up
  put16(out, 26, 1);
  put16(out, 28, 24);
  put32(out, 34, pixelBytes);
  put32(out, 38, 2835);  // 72 dots per inch
  put32(out, 42, 2835);
  for (int y = 0; y < kEmoticonSize; ++y) {
    size_t at = offset + static_cast<size_t>(kEmoticonSize - 1 - y) * rowBytes;
    for (int x = 0; x < kEmoticonSize; ++x, at += 3) {
      COLORREF colour = canvas.pixel[y][x];
      out[at] = GetBValue(colour);
      out[at + 1] = GetGValue(colour);
      out[at + 2] = GetRValue(colour);
    }
  }
  return out;
}

EmoticonPictures::EmoticonPictures() { std::memset(bitmaps, 0, sizeof bitmaps); }

EmoticonPictures::~EmoticonPictures() { release(); }

bool EmoticonPictures::load(HINSTANCE module) {
  release();
  registerEmoticonResources(module);
  bool all = true;
  for (int i = 0; i < kEmoticonCount; ++i) {
    bitmaps[i] = loadResourceBitmap(module, kEmoticonIds[i]);
    all = all && bitmaps[i] != nullptr;
  }
  return all;
}

void EmoticonPictures::release() {
  for (HBITMAP& bitmap : bitmaps) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    bitmap = nullptr;
  }
}

HBITMAP EmoticonPictures::get(int id) const {
  int index = indexOf(id);
  return index < 0 ? nullptr : bitmaps[index];
}
