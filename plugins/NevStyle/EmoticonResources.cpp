// The pictures as bitmap resources of the module. merge: resource registration — once the
// layer can register module bitmaps (VornRegisterResourceBitmap) and LoadBitmapA finds them,
// registerEmoticonResources hands it each emoticonBmp (kept alive in `files`) and
// loadResourceBitmap becomes LoadBitmapA(module, MAKEINTRESOURCEA(id)); until then the
// bitmaps are drawn straight from the same .bmp bytes.
#include <vector>

#include "plugins/NevStyle/EmoticonPictures.h"

namespace {

// The .bmp files stay alive as long as the module, as resources do.
std::vector<unsigned char> files[kEmoticonCount];

int readInt(const std::vector<unsigned char>& bytes, size_t at) {
  return static_cast<int>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                          (static_cast<unsigned>(bytes[at + 3]) << 24));
}

// A bitmap of the screen's kind holding the pixels of a 24-bit bottom-up .bmp.
HBITMAP bitmapFromBmp(const std::vector<unsigned char>& bytes) {
  if (bytes.size() < 54) return nullptr;
  int offset = readInt(bytes, 10);
  int width = readInt(bytes, 18);
  int height = readInt(bytes, 22);
  size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
  if (width <= 0 || height <= 0 || bytes.size() < offset + rowBytes * height) return nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int y = 0; y < height; ++y) {
    size_t at = offset + rowBytes * static_cast<size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x, at += 3)
      SetPixel(dc, x, y, RGB(bytes[at + 2], bytes[at + 1], bytes[at]));
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

}  // namespace

bool registerEmoticonResources(HINSTANCE) {
  for (int i = 0; i < kEmoticonCount; ++i)
    if (files[i].empty()) files[i] = emoticonBmp(kEmoticonIds[i]);
  return true;
}

HBITMAP loadResourceBitmap(HINSTANCE, int id) {
  for (int i = 0; i < kEmoticonCount; ++i)
    if (kEmoticonIds[i] == id) {
      if (files[i].empty()) files[i] = emoticonBmp(id);
      return bitmapFromBmp(files[i]);
    }
  return nullptr;
}
