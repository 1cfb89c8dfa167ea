// Arbitrary bytes as the content of a settings file: every read form must stay inside its
// buffer and terminate, and a write must read back as written.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32.h"

namespace {

const std::string& profilePath() {
  static const std::string path = [] {
    char tmpl[] = "/tmp/vornfuzzXXXXXX";
    const char* dir = mkdtemp(tmpl);
    if (!dir) std::abort();
    return std::string(dir) + "/Fuzz.ini";
  }();
  static const bool cleanup = [] {
    std::atexit([] {
      std::remove(profilePath().c_str());
      rmdir(profilePath().substr(0, profilePath().rfind('/')).c_str());
    });
    return true;
  }();
  (void)cleanup;
  return path;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

// Walks a NUL-separated list the way callers do, up to its empty name.
template <typename Visit>
void forEachName(const char* list, DWORD count, int limit, Visit visit) {
  for (const char* name = list; *name && name < list + count && limit-- > 0;
       name += std::strlen(name) + 1)
    visit(name);
}

void readEverything(const char* file) {
  char sections[2048], keys[2048], value[64], tiny[3];
  DWORD n = GetPrivateProfileStringA(nullptr, nullptr, "", sections, sizeof sections, file);
  if (n > sizeof sections - 1 || sections[n] != '\0') std::abort();
  GetPrivateProfileStringA(nullptr, nullptr, "", tiny, sizeof tiny, file);
  forEachName(sections, n, 16, [&](const char* section) {
    DWORD k = GetPrivateProfileStringA(section, nullptr, "", keys, sizeof keys, file);
    if (k > sizeof keys - 1 || keys[k] != '\0') std::abort();
    forEachName(keys, k, 32, [&](const char* key) {
      DWORD v = GetPrivateProfileStringA(section, key, "d", value, sizeof value, file);
      if (v >= sizeof value || std::strlen(value) > v) std::abort();
      GetPrivateProfileStringA(section, key, "d", tiny, sizeof tiny, file);
      GetPrivateProfileIntA(section, key, 5, file);
    });
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = profilePath();
  writeFile(path, data, size);
  readEverything(path.c_str());

  // Whatever the file held, a written key reads back and the file stays readable.
  if (!WritePrivateProfileStringA("Fuzz Section", "Fuzz Key", "fuzz value", path.c_str()))
    std::abort();
  char back[32];
  GetPrivateProfileStringA("fuzz section", "fuzz key", "", back, sizeof back, path.c_str());
  if (std::strcmp(back, "fuzz value") != 0) std::abort();
  readEverything(path.c_str());
  return 0;
}
