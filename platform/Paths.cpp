// Path translation and the text-mode fopen of the layer.
#include "platform/win32_files.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstring>
#include <vector>

namespace {

bool exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// The entry of folder whose name equals name ignoring case, or name itself.
std::string matchInFolder(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return name;
  std::string found = name;
  while (struct dirent* entry = ::readdir(dir)) {
    if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
      found = entry->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

std::vector<std::string> splitComponents(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// Cookie stream that reads from an underlying FILE and drops the CR of each CR LF. Reads go by
// blocks: the events file of every client is read through here at the start.
ssize_t readDroppingCr(void* cookie, char* buf, size_t size) {
  FILE* in = static_cast<FILE*>(cookie);
  size_t got = std::fread(buf, 1, size, in);
  if (got == 0) return std::ferror(in) ? -1 : 0;
  size_t n = 0;
  for (size_t i = 0; i < got; ++i) {
    char c = buf[i];
    if (c == '\r' && i + 1 < got && buf[i + 1] == '\n') continue;
    if (c == '\r' && i + 1 == got) {
      // A CR ending the block: the next byte tells.
      int next = std::fgetc(in);
      if (next == '\n')
        c = '\n';
      else if (next != EOF)
        std::ungetc(next, in);
    }
    buf[n++] = c;
  }
  return static_cast<ssize_t>(n);
}

int closeUnderlying(void* cookie) { return std::fclose(static_cast<FILE*>(cookie)); }

bool isTextRead(const char* mode) {
  return mode[0] == 'r' && !std::strchr(mode, 'b') && !std::strchr(mode, '+');
}

}  // namespace

std::string resolvePath(const char* path) {
  if (!path) return std::string();
  std::string p(path);
  for (char& c : p)
    if (c == '\\') c = '/';
  if (p.empty() || exists(p)) return p;

  bool absolute = p[0] == '/';
  std::string result = absolute ? "/" : "";
  std::vector<std::string> parts = splitComponents(p);
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    std::string candidate = result + part;
    if (part != "." && part != ".." && !exists(candidate))
      candidate = result + matchInFolder(result, part);
    result = candidate;
    if (i + 1 < parts.size()) result += '/';
  }
  if (p.back() == '/' && !result.empty() && result.back() != '/') result += '/';
  return result;
}

FILE* fopenPath(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  std::string native = resolvePath(path);
  if (!isTextRead(mode)) return std::fopen(native.c_str(), mode);
  FILE* in = std::fopen(native.c_str(), "rb");
  if (!in) return nullptr;
  cookie_io_functions_t io = {readDroppingCr, nullptr, nullptr, closeUnderlying};
  FILE* text = ::fopencookie(in, "r", io);
  if (!text) std::fclose(in);
  return text;
}
