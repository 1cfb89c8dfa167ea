// Bitmap resources registered by modules: decoded once at registration, copied into a new
// GDI bitmap by each LoadBitmapA, dropped when their module is unloaded.
#include <QImage>
#include <climits>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

#include "platform/GdiObjects.h"
#include "platform/LoadedModules.h"
#include "platform/ModuleIcons.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

const int kFileHeaderSize = 14;
const int kInfoHeaderSize = 40;

using ResourceKey = std::pair<uintptr_t, int>;  // module handle, id

struct ResourceTable {
  std::mutex lock;
  std::map<ResourceKey, QImage> bitmaps;
};

ResourceTable& resources() {
  static ResourceTable* instance = new ResourceTable;  // outlives plug-ins' static destructors
  return *instance;
}

uint32_t readLittleEndian(const unsigned char* bytes, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

// A .bmp file as a resource compiler takes it: "BM", pixels inside the buffer, and an info
// header of at least the classic size (the older core header is not accepted).
bool looksLikeBmpFile(const unsigned char* bytes, int size) {
  if (size < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return false;
  uint32_t pixelOffset = readLittleEndian(bytes + 10, 4);
  uint32_t infoSize = readLittleEndian(bytes + kFileHeaderSize, 4);
  return infoSize >= static_cast<uint32_t>(kInfoHeaderSize) &&
         pixelOffset >= static_cast<uint32_t>(kFileHeaderSize) + infoSize &&
         pixelOffset < static_cast<uint32_t>(size);
}

}  // namespace

bool decodeBmpResource(const void* data, int size, QImage* out) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (data == nullptr || !looksLikeBmpFile(bytes, size)) return false;
  QImage image;
  if (!image.loadFromData(bytes, size, "BMP") || image.isNull()) return false;
  *out = image.convertToFormat(QImage::Format_RGB32);
  return true;
}

void forgetModuleResources(HMODULE module) {
  uintptr_t value = reinterpret_cast<uintptr_t>(module);
  ResourceTable& t = resources();
  std::lock_guard<std::mutex> guard(t.lock);
  auto first = t.bitmaps.lower_bound(ResourceKey(value, INT_MIN));
  auto last = t.bitmaps.upper_bound(ResourceKey(value, INT_MAX));
  t.bitmaps.erase(first, last);
  forgetModuleIcons(module);
}

}  // namespace vornplatform

using namespace vornplatform;

BOOL VornRegisterResourceBitmap(HMODULE module, int id, const void* bmpFileBytes, int size) {
  QImage image;
  if (!isModuleHandle(module) || !decodeBmpResource(bmpFileBytes, size, &image)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ResourceTable& t = resources();
  std::lock_guard<std::mutex> guard(t.lock);
  t.bitmaps[ResourceKey(reinterpret_cast<uintptr_t>(module), id)] = image;
  return TRUE;
}

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr || name == nullptr || !IS_INTRESOURCE(name)) return nullptr;
  int id = static_cast<int>(reinterpret_cast<uintptr_t>(name));
  QImage image;
  {
    ResourceTable& t = resources();
    std::lock_guard<std::mutex> guard(t.lock);
    auto found = t.bitmaps.find(ResourceKey(reinterpret_cast<uintptr_t>(instance), id));
    if (found == t.bitmaps.end()) return nullptr;
    image = found->second;
  }
  return bitmapFromImage(image);
}
