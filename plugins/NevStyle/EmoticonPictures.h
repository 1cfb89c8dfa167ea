// The eleven emoticon pictures: drawn here as 16 x 16 pixel art and kept as .bmp file bytes,
// registered as bitmap resources of the module and loaded from there by id.
#pragma once

#include <vector>

#include "platform/win32.h"
#include "plugins/NevStyle/EmoticonScan.h"

constexpr int kEmoticonSize = 16;

// The complete .bmp file (headers included, 24 bits a pixel) of the picture; empty for an id
// that is not an emoticon.
std::vector<unsigned char> emoticonBmp(int id);

// Makes the pictures known as bitmap resources of module (once per module).
bool registerEmoticonResources(HINSTANCE module);
// The bitmap resource id of module, or null.
HBITMAP loadResourceBitmap(HINSTANCE module, int id);

// The loaded pictures of one window owner.
class EmoticonPictures {
 public:
  EmoticonPictures();
  ~EmoticonPictures();
  EmoticonPictures(const EmoticonPictures&) = delete;
  EmoticonPictures& operator=(const EmoticonPictures&) = delete;

  // Registers the module's pictures if needed and loads all eleven; true when all loaded.
  bool load(HINSTANCE module);
  void release();
  // The picture of the id, or null when it is not loaded.
  HBITMAP get(int id) const;

 private:
  HBITMAP bitmaps[kEmoticonCount];
};
