// The pictures as bitmap resources of the module: registered with the layer under their ids
// once the module is loaded, then found by LoadBitmapA like any module resource.
#include <vector>

#include "plugins/NevStyle/EmoticonPictures.h"

namespace {

// The .bmp files stay alive as long as the module, as resources do.
std::vector<unsigned char> files[kEmoticonCount];

}  // namespace

bool registerEmoticonResources(HINSTANCE module) {
  bool all = true;
  for (int i = 0; i < kEmoticonCount; ++i) {
    if (files[i].empty()) files[i] = emoticonBmp(kEmoticonIds[i]);
    all = VornRegisterResourceBitmap(module, kEmoticonIds[i], files[i].data(),
                                     static_cast<int>(files[i].size())) &&
          all;
  }
  return all;
}

HBITMAP loadResourceBitmap(HINSTANCE module, int id) {
  return LoadBitmapA(module, MAKEINTRESOURCEA(id));
}
