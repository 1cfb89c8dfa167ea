// Icon resources registered by modules: decoded once at registration, each given one shared
// handle that LoadIconA answers every time, dropped when their module is unloaded.
#include "platform/ModuleIcons.h"

#include <QIcon>
#include <QPixmap>
#include <climits>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

#include "platform/Handles.h"
#include "platform/LoadedModules.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

// Icons on this system are at most this wide and tall; a bigger picture is not an icon and
// would only cost memory.
const int kMaxIconSide = 256;
const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
const int kPngHeaderEnd = 24;  // signature, then the IHDR chunk's length, type, width, height

using IconKey = std::pair<uintptr_t, int>;  // module handle, id

struct IconEntry {
  QImage picture;
  HICON handle = nullptr;
};

struct IconTable {
  std::mutex lock;
  std::map<IconKey, IconEntry> icons;
  std::map<uintptr_t, IconKey> byHandle;
};

IconTable& table() {
  static IconTable* instance = new IconTable;  // outlives plug-ins' static destructors
  return *instance;
}

uint32_t readBigEndian(const unsigned char* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
         bytes[3];
}

// The size is read from the header before decoding, so a hostile file never makes the
// decoder allocate a huge image.
bool decodePng(const unsigned char* bytes, int size, QImage* out) {
  if (size < kPngHeaderEnd || std::memcmp(bytes, kPngSignature, sizeof kPngSignature) != 0 ||
      std::memcmp(bytes + 12, "IHDR", 4) != 0)
    return false;
  uint32_t width = readBigEndian(bytes + 16), height = readBigEndian(bytes + 20);
  if (width == 0 || height == 0 || width > uint32_t{kMaxIconSide} || height > uint32_t{kMaxIconSide}) return false;
  return out->loadFromData(bytes, size, "PNG") && !out->isNull();
}

bool fitsAnIcon(const QImage& picture) {
  return picture.width() <= kMaxIconSide && picture.height() <= kMaxIconSide;
}

}  // namespace

bool decodeIconResource(const void* data, int size, QImage* out) {
  if (data == nullptr || size <= 0) return false;
  QImage picture;
  bool png = decodePng(static_cast<const unsigned char*>(data), size, &picture);
  if (!png && (!decodeBmpResource(data, size, &picture) || !fitsAnIcon(picture))) return false;
  *out = picture.convertToFormat(QImage::Format_ARGB32);
  return true;
}

HICON moduleIcon(HMODULE module, int id) {
  IconTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  auto found = t.icons.find(IconKey(reinterpret_cast<uintptr_t>(module), id));
  return found == t.icons.end() ? nullptr : found->second.handle;
}

HICON firstModuleIcon(HMODULE module) {
  uintptr_t value = reinterpret_cast<uintptr_t>(module);
  IconTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  auto first = t.icons.lower_bound(IconKey(value, INT_MIN));
  return first == t.icons.end() || first->first.first != value ? nullptr : first->second.handle;
}

bool isModuleIcon(HICON icon) {
  IconTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  return icon != nullptr && t.byHandle.count(reinterpret_cast<uintptr_t>(icon)) != 0;
}

QIcon qtIconOf(HICON large, HICON small) {
  ensureApplication();  // pixmaps need the application
  QIcon out;
  IconTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  for (HICON icon : {large, small}) {
    auto key = t.byHandle.find(reinterpret_cast<uintptr_t>(icon));
    if (icon != nullptr && key != t.byHandle.end())
      out.addPixmap(QPixmap::fromImage(t.icons[key->second].picture));
  }
  return out;
}

void forgetModuleIcons(HMODULE module) {
  uintptr_t value = reinterpret_cast<uintptr_t>(module);
  IconTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  auto first = t.icons.lower_bound(IconKey(value, INT_MIN));
  auto last = t.icons.upper_bound(IconKey(value, INT_MAX));
  for (auto at = first; at != last; ++at)
    t.byHandle.erase(reinterpret_cast<uintptr_t>(at->second.handle));
  t.icons.erase(first, last);
}

}  // namespace vornplatform

using namespace vornplatform;

BOOL VornRegisterResourceIcon(HMODULE module, int id, const void* fileBytes, int size) {
  QImage picture;
  if (!isModuleHandle(module) || !decodeIconResource(fileBytes, size, &picture)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  IconTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  IconKey key(reinterpret_cast<uintptr_t>(module), id);
  IconEntry& entry = t.icons[key];
  entry.picture = picture;
  if (entry.handle == nullptr) {
    entry.handle = reinterpret_cast<HICON>(static_cast<uintptr_t>(nextHandleValue()));
    t.byHandle[reinterpret_cast<uintptr_t>(entry.handle)] = key;
  }
  return TRUE;
}
