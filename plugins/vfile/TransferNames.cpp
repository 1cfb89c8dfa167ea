#include "plugins/vfile/TransferNames.h"

#include <arpa/inet.h>
#include <sys/random.h>
#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <cstring>

namespace transfer {

int blockSizeFor(int64_t size) {
  int64_t block = size / 10;
  if (block > 1048575) return 1048576;
  if (block < 10241) return 10240;
  return static_cast<int>(block);
}

namespace {

// A uniform value below limit from the secure source; rejection keeps it unbiased.
unsigned secureBelow(unsigned limit) {
  unsigned ceiling = UINT_MAX - UINT_MAX % limit;
  for (;;) {
    unsigned value = 0;
    if (getrandom(&value, sizeof value, 0) != sizeof value) continue;
    if (value < ceiling) return value % limit;
  }
}

}  // namespace

std::string makePassword() {
  unsigned length = secureBelow(32);
  if (length < 8) length = 8;
  std::string password;
  for (unsigned i = 0; i < length; ++i) {
    char c = static_cast<char>(secureBelow(90) + 32);
    if (c == '[') c = '{';
    if (c == ']') c = '}';
    password += c;
  }
  return password;
}

std::string baseName(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string safeOfferedName(const char* offered) {
  if (offered == nullptr) return "";
  std::string name = baseName(offered);
  if (name.empty() || name == "." || name == "..") return "";
  for (unsigned char c : name)
    if (c < 32 || c == 127) return "";
  return name;
}

std::string sizeText(int64_t size) {
  char text[64];
  if (size < 1024)
    snprintf(text, sizeof text, "%0.2f Bytes", static_cast<double>(size));
  else if (size < 1048576)
    snprintf(text, sizeof text, "%0.2f KB", static_cast<double>(size) / 1024);
  else
    snprintf(text, sizeof text, "%0.2f MB", static_cast<double>(size) / 1048576);
  return text;
}

int64_t fileSize(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_size);
}

std::string freeTargetName(const std::string& name) {
  std::string result = name;
  for (int n = 0; fileSize(result) > 0; ++n) {
    size_t nameStart = result.find_last_of("/\\");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = result.find_last_of('.');
    std::string number = "-" + std::to_string(n);
    if (dot == std::string::npos || dot < nameStart)
      result += number;
    else
      result.insert(dot, number);
  }
  return result;
}

bool parseNumber(const char* text, int64_t low, int64_t high, int64_t& value) {
  if (text == nullptr || *text == '\0' || strlen(text) > 12) return false;
  int64_t result = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
    result = result * 10 + (*c - '0');
  }
  if (result < low || result > high) return false;
  value = result;
  return true;
}

bool parseSize(const char* text, int& size) {
  int64_t value = 0;
  if (!parseNumber(text, 1, INT_MAX, value)) return false;
  size = static_cast<int>(value);
  return true;
}

bool parsePort(const char* text, int& port) {
  int64_t value = 0;
  if (!parseNumber(text, 1, 65535, value)) return false;
  port = static_cast<int>(value);
  return true;
}

bool parseId(const char* text, int& id) {
  int64_t value = 0;
  if (!parseNumber(text, 0, INT_MAX, value)) return false;
  id = static_cast<int>(value);
  return true;
}

bool isDottedAddress(const char* text) {
  in_addr address;
  return text != nullptr && inet_pton(AF_INET, text, &address) == 1;
}

bool isPrivateAddress(const unsigned char octets[4]) {
  return octets[0] == 10 || octets[0] == 127 || (octets[0] == 172 && octets[1] == 16) ||
         (octets[0] == 192 && octets[1] == 168);
}

}  // namespace transfer
