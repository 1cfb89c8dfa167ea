// What a top-level window tells other processes about itself on the X desktop: its class name
// and title as one text, "<class>\n<title>", and the reading of such a text found on a window.
#pragma once

#include <cstddef>
#include <string>

// Exported so that the layer's own tests can reach it.
#pragma GCC visibility push(default)
namespace vornplatform {

// Larger texts are not read: another process could otherwise make us fetch megabytes.
const size_t kMaxWindowIdentity = 64 * 1024;

struct WindowIdentity {
  std::string className;
  std::string title;
};

std::string formatWindowIdentity(const std::string& className, const std::string& title);
// False for a text past the cap, without the separating newline, with an empty class name or
// holding a NUL byte (no window text can hold one).
bool parseWindowIdentity(const char* data, size_t size, WindowIdentity* out);

}  // namespace vornplatform
#pragma GCC visibility pop
