#include "platform/WindowIdentity.h"

#include <cstring>

namespace vornplatform {

std::string formatWindowIdentity(const std::string& className, const std::string& title) {
  return className + "\n" + title;
}

bool parseWindowIdentity(const char* data, size_t size, WindowIdentity* out) {
  if (!data || !out || size > kMaxWindowIdentity) return false;
  if (std::memchr(data, 0, size)) return false;
  const char* newline = static_cast<const char*>(std::memchr(data, '\n', size));
  if (!newline || newline == data) return false;
  out->className.assign(data, newline);
  out->title.assign(newline + 1, data + size);
  return true;
}

}  // namespace vornplatform
