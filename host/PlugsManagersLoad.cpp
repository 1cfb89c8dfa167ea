// The plug-ins managers' side that finds plug-in files and binds and checks each one.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/PlugEntryPoints.h"
#include "host/PlugsManagers.h"
#include "sdk/NoCase.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kGreen = RGB(0, 128, 0);
const COLORREF kBlue = RGB(0, 64, 255);
const COLORREF kRed = RGB(128, 0, 0);
const COLORREF kValue = RGB(0, 0, 192);

// An entry point as its real type; the plain function pointer in between keeps the cast legal.
template <typename Proc>
Proc procOf(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

bool isValidName(const char* name) {
  if (name == nullptr || name[0] == '\0') return false;
  for (const char* c = name; *c != '\0'; ++c)
    if (!std::isalnum(static_cast<unsigned char>(*c)) && *c != '_') return false;
  return true;
}

struct ScanStep {
  int kind;
  const char* pattern;
  const char* line;
};

const ScanStep kScanSteps[] = {
    {PLUG_KIND_SYSTEM, "*.vsy", ". Look for 'system' plugins...\n"},
    {PLUG_KIND_MAIN, "*.vma", ". Look for 'main' plugins...\n"},
    {PLUG_KIND_ADDIN, "*.vad", ". Look for 'addins' plugins...\n"},
    {PLUG_KIND_INOUT, "*.vio", ". Look for 'inout' plugins...\n"},
};

}  // namespace

void PlugsManagers::loadAll(const char* directory) {
  lock();
  setSystemColor(kBlue);
  printSystem("- Plugins loading step :\n");
  snprintf(directory_, sizeof directory_, "%s", directory ? directory : "");
  size_t length = std::strlen(directory_);
  if ((length == 0 || directory_[length - 1] != '\\') && length + 1 < sizeof directory_)
    std::strcat(directory_, "\\");
  setSystemColor(kGreen);
  printSystem(". Directory = ");
  setSystemColor(kBlack);
  printSystem("%s\n", directory_);
  for (const ScanStep& step : kScanSteps) {
    setSystemColor(kGreen);
    printSystem("%s", step.line);
    setSystemColor(kBlack);
    scanDirectory(*plugList(step.kind), step.kind, step.pattern);
    hooks_->refreshPage(step.kind);
  }
  setSystemColor(kBlue);
  printSystem("- End of Plugins loading step\n\n");
  setSystemColor(kBlack);
  unlock();
}

void PlugsManagers::scanDirectory(PlugList& list, int kind, const char* pattern) {
  list.clear();
  std::string search = std::string(directory_) + pattern;
  WIN32_FIND_DATAA found;
  HANDLE handle = FindFirstFileA(search.c_str(), &found);
  if (handle == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string path = std::string(directory_) + found.cFileName;
    list.emplace_front();
    if (!loadPlugFile(list.front(), kind, path.c_str(), true)) list.pop_front();
  } while (FindNextFileA(handle, &found));
  FindClose(handle);
}

bool PlugsManagers::loadPlugFile(PlugRecord& record, int kind, const char* path, bool firstLoad) {
  if (firstLoad) {
    record.flags = 0;
    record.clearSessions();
  } else {
    // A reload keeps the sessions of every client and the page's flags.
    record.flags &= ~(PLUG_LOADED | PLUG_SESSION);
  }
  record.module = nullptr;
  record.factory = nullptr;
  if (path == nullptr || std::strlen(path) >= sizeof record.file)
    return refuse(nullptr, "The plugins '%s' has its path too long !\n", path ? path : "", nullptr);
  HMODULE module = LoadLibraryA(path);
  if (module == nullptr && GetLastError() == ERROR_BAD_EXE_FORMAT)
    return refuse(nullptr, "The plugins '%s' is damaged or is not a module !\n", path, nullptr);
  if (module == nullptr)
    return refuse(nullptr, "The plugins '%s' can't be loaded !\n", path, nullptr);
  bool accepted = false;
  if (guardedCall([&] { accepted = bindPlug(record, module, kind, path, firstLoad); })) {
    if (!accepted) forget(record);
    return accepted;
  }
  char text[PlugRecord::kFileSize + 64];
  snprintf(text, sizeof text, "Critical error loading the file : %s.", path);
  MessageBoxA(nullptr, text, "Plugin's Critical Error !!!", MB_ICONHAND);
  FreeLibrary(module);
  forget(record);
  return false;
}

void PlugsManagers::forget(PlugRecord& record) {
  record.module = nullptr;
  record.factory = nullptr;
  record.flags &= ~PLUG_LOADED;
}

bool PlugsManagers::refuse(HMODULE module, const char* format, const char* path,
                           const char* line2) {
  setSystemColor(kRed);
  printSystem("Load Error : ");
  setSystemColor(kBlack);
  printSystem(format, path);
  if (line2 != nullptr) printSystem("%s", line2);
  if (module != nullptr) FreeLibrary(module);
  return false;
}

// Runs under the guard of loadPlugFile: every call below may be plug-in code.
bool PlugsManagers::bindPlug(PlugRecord& record, HMODULE module, int kind, const char* path,
                             bool firstLoad) {
  auto libVersion = procOf<LibVersionProc>(module, kLibVersionName);
  auto setHandlers = procOf<SetHandlersProc>(module, kSetHandlersName);
  auto getFactory = procOf<GetPlugsFactoryProc>(module, kGetPlugsFactoryName);
  if (libVersion == nullptr || setHandlers == nullptr || getFactory == nullptr)
    return refuse(module, "'%s' is not a compatible plug-ins for Vornith 2.0 !\n", path, nullptr);
  if (libVersion() != 2.0f || !setHandlers(table_))
    return refuse(module, "The plugins '%s' has its version incompatible !\n", path, nullptr);
  VornithPlugsFactory* factory = getFactory();
  if (factory == nullptr)
    return refuse(module, "The plugins '%s' has no factory !\n", path,
                  "(A instance of a factory (VornithPlugsFactory) need to be created in the "
                  "plug-in.)\n");
  record.module = module;
  if (factory->kind() != kind)
    return refuse(module, "The plugins '%s' has its type invalid !\n", path, nullptr);
  const char* name = factory->name();
  if (!isValidName(name))
    return refuse(module, "The plugins '%s' has its name invalid !\n", path,
                  "(The name need to be alphanumeric, without space.)\n");
  if (std::strlen(name) >= sizeof record.name)
    return refuse(module, "The plugins '%s' has its name invalid !\n", path,
                  "(The name is too long, lenght max = 127)\n");
  if (!firstLoad) {
    if (!equalsNoCase(name, record.name)) {
      setSystemColor(kRed);
      printSystem("The plugins '%s' has changed its name !\n", path);
      printSystem("(You need to restart Vornith to reload this plug)\n");
      setSystemColor(kBlack);
      FreeLibrary(module);
      return false;
    }
    record.flags |= PLUG_LOADED;
  } else {
    PlugRecord* other = findPlug(name, 0);
    if (other != nullptr) {
      setSystemColor(kRed);
      printSystem("Load Error : ");
      setSystemColor(kBlack);
      printSystem("The name '%s' of the plugin '%s' has already used by another plugin (%s) !\n",
                  name, path, other->name);
      FreeLibrary(module);
      return false;
    }
    snprintf(record.name, sizeof record.name, "%s", name);
    registryState(record);
    record.kind = factory->kind();
    snprintf(record.file, sizeof record.file, "%s", path);
    printFound(record, factory);
  }
  if (!record.isLoaded()) {
    FreeLibrary(module);
    record.module = nullptr;
    record.factory = nullptr;
    return true;  // known, switched off
  }
  record.factory = factory;
  factory->init();
  return true;
}

void PlugsManagers::printFound(const PlugRecord& record, VornithPlugsFactory* factory) {
  if (record.flags & PLUG_NEW) {
    setSystemColor(kGreen);
    printSystem("New ");
  }
  setSystemColor(kBlack);
  printSystem("Plugin found : ");
  setSystemColor(kValue);
  printSystem("%s", record.name);
  setSystemColor(kBlack);
  printSystem(" created by ");
  setSystemColor(kValue);
  const char* author = factory->author();
  printSystem("%s", author ? author : "");
  setSystemColor(kBlack);
  printSystem(" version ");
  setSystemColor(kValue);
  printSystem("%0.2f : ", static_cast<double>(factory->version()));
  if (record.flags & PLUG_LOADED) {
    setSystemColor(kGreen);
    printSystem("Loaded.\n");
  } else {
    setSystemColor(kRed);
    printSystem("Not loaded.\n");
  }
  setSystemColor(kBlack);
}
