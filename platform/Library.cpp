// Dynamic libraries of the layer over dlopen: system DLL names answer with pseudo-handles,
// everything else is a shared object loaded by path and counted per handle.
#include <dlfcn.h>

#include <cstdio>
#include <link.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "platform/Handles.h"
#include "platform/LoadedModules.h"
#include "platform/ModuleFile.h"
#include "platform/win32.h"

namespace {

// Names the system would load from its own folder. Code asks for them to initialise controls
// that the layer already provides, so they never reach dlopen.
const char* const systemLibraries[] = {
    "riched20.dll", "riched32.dll", "msftedit.dll", "comctl32.dll", "comdlg32.dll",
    "user32.dll",   "kernel32.dll", "gdi32.dll",    "shell32.dll",  "shlwapi.dll",
    "winmm.dll",    "msvcrt.dll",   "advapi32.dll", "ws2_32.dll",   "wsock32.dll",
    "ole32.dll",    "oleaut32.dll", "ntdll.dll",    "version.dll",  "imm32.dll",
};
const int systemLibraryCount = sizeof(systemLibraries) / sizeof(systemLibraries[0]);

struct LoadedLibrary {
  void* native = nullptr;
  int count = 0;
  // The file it was loaded from, kept at load time so a later change of folder does not matter.
  dev_t device = 0;
  ino_t inode = 0;
};

struct LibraryTable {
  std::mutex lock;
  uint32_t systemHandles[systemLibraryCount] = {};
  uint32_t programHandle = 0;
  std::map<uint32_t, LoadedLibrary> loaded;
};

LibraryTable& table() {
  static LibraryTable* instance = new LibraryTable;  // outlives static destructors of plug-ins
  return *instance;
}

uint32_t valueOf(HMODULE module) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(module));
}

HMODULE moduleOf(uint32_t value) {
  return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(value));
}

// Index into systemLibraries for a bare name with or without ".dll", or -1.
int systemIndex(const char* name) {
  size_t length = std::strlen(name);
  for (int i = 0; i < systemLibraryCount; ++i) {
    const char* known = systemLibraries[i];
    size_t stem = std::strlen(known) - 4;
    if (strcasecmp(name, known) == 0 || (length == stem && strncasecmp(name, known, stem) == 0))
      return i;
  }
  return -1;
}

// Caller holds the table lock.
uint32_t systemHandle(LibraryTable& t, int index) {
  if (t.systemHandles[index] == 0) t.systemHandles[index] = vornplatform::nextHandleValue();
  return t.systemHandles[index];
}

int systemIndexOfHandle(LibraryTable& t, uint32_t value) {
  for (int i = 0; i < systemLibraryCount; ++i)
    if (value != 0 && t.systemHandles[i] == value) return i;
  return -1;
}

// A bare name found in the current folder is loaded from there, as Windows looks beside the
// program first; dlopen alone would search only the system's library paths.
std::string loadPath(const char* fileName) {
  std::string path = resolvePath(fileName);
  if (path.find('/') == std::string::npos && access(path.c_str(), F_OK) == 0) path = "./" + path;
  return path;
}

std::string nativePathOf(void* native) {
  struct link_map* map = nullptr;
  if (dlinfo(native, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || map->l_name == nullptr)
    return std::string();
  return map->l_name;
}

std::string programPath() {
  char buffer[4096];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (length <= 0) return std::string();
  return std::string(buffer, static_cast<size_t>(length));
}

const char* baseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

// The identifier of a decorated C++ name ("?Name@@YAHXZ" gives "Name"); plain names as given.
std::string symbolName(const char* name) {
  if (name[0] != '?') return name;
  const char* end = std::strchr(name + 1, '@');
  return end == nullptr ? std::string(name + 1) : std::string(name + 1, end);
}

// Caller holds the table lock.
uint32_t programHandle(LibraryTable& t) {
  if (t.programHandle == 0) t.programHandle = vornplatform::nextHandleValue();
  return t.programHandle;
}

struct link_map* linkMapOf(void* native) {
  struct link_map* map = nullptr;
  if (native == nullptr || dlinfo(native, RTLD_DI_LINKMAP, &map) != 0) return nullptr;
  return map;
}

// The handle of the module whose image holds address, or 0 when it is none we hand out
// (the program, or a library loaded through LoadLibraryA). Caller holds the table lock.
uint32_t handleAt(LibraryTable& t, const void* address) {
  Dl_info info{};
  struct link_map* owner = nullptr;
  if (address == nullptr ||
      dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0 ||
      owner == nullptr)
    return 0;
  for (const auto& entry : t.loaded)
    if (linkMapOf(entry.second.native) == owner) return entry.first;
  void* program = dlopen(nullptr, RTLD_NOW);
  bool isProgram = program != nullptr && linkMapOf(program) == owner;
  if (program != nullptr) dlclose(program);
  return isProgram ? programHandle(t) : 0;
}

// Another load of a library already loaded, so FreeLibrary's dlclose stays balanced.
// Caller holds the table lock.
void addReference(LibraryTable& t, uint32_t value) {
  auto found = t.loaded.find(value);
  if (found == t.loaded.end()) return;  // the program and system names are not counted
  void* again = dlopen(nativePathOf(found->second.native).c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (again != nullptr) ++found->second.count;
}

}  // namespace

bool vornplatform::isModuleHandle(HMODULE module) {
  LibraryTable& t = table();
  uint32_t value = valueOf(module);
  std::lock_guard<std::mutex> guard(t.lock);
  return value != 0 && (value == programHandle(t) || t.loaded.count(value) != 0);
}

bool vornplatform::isLoadedModulePath(const std::string& nativePath) {
  struct stat target;
  if (::stat(nativePath.c_str(), &target) != 0) return false;
  LibraryTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  for (const auto& entry : t.loaded)
    if (entry.second.device == target.st_dev && entry.second.inode == target.st_ino) return true;
  return false;
}

HMODULE LoadLibraryA(LPCSTR fileName) {
  if (fileName == nullptr || fileName[0] == '\0') {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  LibraryTable& t = table();
  int index = systemIndex(fileName);
  if (index >= 0) {
    std::lock_guard<std::mutex> guard(t.lock);
    return moduleOf(systemHandle(t, index));
  }
  std::string path = loadPath(fileName);
  // A name that opens no file here is left to the loader's own search.
  if (vornplatform::checkModuleFile(path.c_str()) == vornplatform::ModuleFileCheck::BadFormat) {
    SetLastError(ERROR_BAD_EXE_FORMAT);
    return nullptr;
  }
  void* native = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (native == nullptr) {
    // The Win32 error code cannot say which symbol or dependency was missing; the loader can.
    const char* reason = dlerror();
    if (reason) std::fprintf(stderr, "LoadLibraryA: %s\n", reason);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  std::lock_guard<std::mutex> guard(t.lock);
  for (auto& entry : t.loaded) {
    if (entry.second.native == native) {
      ++entry.second.count;  // dlopen counted it too; FreeLibrary closes once per load
      return moduleOf(entry.first);
    }
  }
  uint32_t value = vornplatform::nextHandleValue();
  LoadedLibrary library{native, 1};
  struct stat file;
  if (::stat(nativePathOf(native).c_str(), &file) == 0) {
    library.device = file.st_dev;
    library.inode = file.st_ino;
  }
  t.loaded[value] = library;
  return moduleOf(value);
}

BOOL FreeLibrary(HMODULE module) {
  LibraryTable& t = table();
  uint32_t value = valueOf(module);
  void* native = nullptr;
  bool unloading = false;
  {
    std::lock_guard<std::mutex> guard(t.lock);
    if (systemIndexOfHandle(t, value) >= 0) return TRUE;
    auto found = t.loaded.find(value);
    if (found == t.loaded.end()) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return FALSE;
    }
    native = found->second.native;
    if (--found->second.count == 0) t.loaded.erase(found);
    unloading = t.loaded.count(value) == 0;
  }
  // Outside the lock: a library's destructors may load or free others.
  dlclose(native);
  // An unloaded module's handle is never given out again: its pictures go with it.
  if (unloading) vornplatform::forgetModuleResources(module);
  return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  // Names below 64K are ordinals, which shared objects do not have.
  if (name == nullptr || reinterpret_cast<uintptr_t>(name) < 0x10000) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  LibraryTable& t = table();
  void* native = nullptr;
  {
    std::lock_guard<std::mutex> guard(t.lock);
    uint32_t value = valueOf(module);
    auto found = t.loaded.find(value);
    if (found != t.loaded.end()) {
      native = found->second.native;
    } else if (value != t.programHandle || value == 0) {
      SetLastError(systemIndexOfHandle(t, value) >= 0 ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
  }
  std::string symbol = symbolName(name);
  void* address = nullptr;
  if (!symbol.empty()) {
    if (native != nullptr) {
      address = dlsym(native, symbol.c_str());
    } else {
      void* program = dlopen(nullptr, RTLD_NOW);
      address = program == nullptr ? nullptr : dlsym(program, symbol.c_str());
      if (program != nullptr) dlclose(program);
    }
  }
  if (address == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(address);
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  LibraryTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  if (moduleName == nullptr) return moduleOf(programHandle(t));
  int index = systemIndex(moduleName);
  if (index >= 0) return moduleOf(systemHandle(t, index));
  std::string wanted = resolvePath(moduleName);
  for (const auto& entry : t.loaded) {
    std::string path = nativePathOf(entry.second.native);
    if (strcasecmp(baseName(path), baseName(wanted)) == 0) return moduleOf(entry.first);
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  LibraryTable& t = table();
  std::string path;
  {
    std::lock_guard<std::mutex> guard(t.lock);
    uint32_t value = valueOf(module);
    int index = systemIndexOfHandle(t, value);
    auto found = t.loaded.find(value);
    if (module == nullptr || (value == t.programHandle && value != 0)) {
      path = programPath();
    } else if (index >= 0) {
      path = systemLibraries[index];
    } else if (found != t.loaded.end()) {
      path = nativePathOf(found->second.native);
    } else {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return 0;
    }
  }
  if (buffer == nullptr || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  // Too small a buffer gets the truncated name, terminated, and the buffer's size back.
  if (path.size() >= size) {
    std::memcpy(buffer, path.data(), size - 1);
    buffer[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

BOOL GetModuleHandleExA(DWORD flags, LPCSTR nameOrAddress, HMODULE* module) {
  const DWORD known =
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  if (module == nullptr || (flags & ~known) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *module = nullptr;
  uint32_t value = 0;
  if ((flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) == 0) {
    value = valueOf(GetModuleHandleA(nameOrAddress));  // sets the error itself
    if (value == 0) return FALSE;
  }
  LibraryTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  if (value == 0) value = handleAt(t, nameOrAddress);
  if (value == 0) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  if ((flags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT) == 0) addReference(t, value);
  *module = moduleOf(value);
  return TRUE;
}
