// The plug-ins managers' side that replaces a plug-in file while the host runs, carrying the
// state of its sessions over, and installs a file of a new plug-in.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "host/PlugEntryPoints.h"
#include "host/PlugsManagers.h"
#include "sdk/NoCase.h"
#include "sdk/PlugsObject.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kGreen = RGB(0, 128, 0);
const COLORREF kRed = RGB(128, 0, 0);
const COLORREF kGrey = RGB(64, 64, 64);
const COLORREF kInfo = RGB(0, 0, 128);

// A session asking for more than this is taken as broken rather than trusted with the memory.
const int kMaxBackupSize = 16 * 1024 * 1024;

void printIn(COLORREF colour, const char* format, va_list args) {
  setSystemColor(colour);
  vprintSystem(format, args);
}

void failed(const char* format, ...) VORN_PRINTF(1, 2);
void failed(const char* format, ...) {
  setSystemColor(kRed);
  printSystem("Update failed : ");
  va_list args;
  va_start(args, format);
  printIn(kBlack, format, args);
  va_end(args);
}

void progress(const char* format, ...) VORN_PRINTF(1, 2);
void progress(const char* format, ...) {
  va_list args;
  va_start(args, format);
  printIn(kGrey, format, args);
  va_end(args);
}

void backupFailed(const char* method) {
  setSystemColor(kRed);
  printSystem("Backup failed : ");
  setSystemColor(kBlack);
  printSystem("A critical error has been detected calling the method '%s' !\n", method);
}

// What the new file says about itself before it replaces anything.
struct Probe {
  bool compatible = false;
  char name[PlugRecord::kNameSize] = {};
  int kind = 0;
};

// Runs under the guard: the export and the factory are the new file's code.
void readProbe(HMODULE module, Probe& probe) {
  auto getFactory = reinterpret_cast<GetPlugsFactoryProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, kGetPlugsFactoryName)));
  if (getFactory == nullptr) return;
  VornithPlugsFactory* factory = getFactory();
  if (factory == nullptr) return;
  const char* name = factory->name();
  snprintf(probe.name, sizeof probe.name, "%s", name ? name : "");
  probe.kind = factory->kind();
  probe.compatible = true;
}

struct Backup {
  Client* client;
  int size;
  char* buffer;
};

std::vector<Backup> backupSessions(PlugRecord& record) {
  std::vector<Backup> backups;
  for (SessionNode* node = record.sessions; node != nullptr; node = node->next) {
    PlugsObject* session = node->session;
    if (session == nullptr) continue;
    int size = 0;
    if (!guardedCall([&] { size = session->getBackupSizeNeeded(); })) {
      backupFailed("getBackupSizeNeeded");
      continue;
    }
    if (size <= 0) continue;  // nothing to keep
    if (size > kMaxBackupSize) {
      backupFailed("getBackupSizeNeeded");
      continue;
    }
    char* buffer = new char[size]();
    if (!guardedCall([&] { session->backup(buffer, size); })) {
      delete[] buffer;
      backupFailed("backup");
      continue;
    }
    backups.push_back({node->client, size, buffer});
  }
  return backups;
}

void freeBackups(std::vector<Backup>& backups) {
  for (Backup& backup : backups) delete[] backup.buffer;
  backups.clear();
}

float versionOf(PlugRecord& record) {
  float version = 0.0f;
  VornithPlugsFactory* factory = record.factory;
  if (factory != nullptr) guardedCall([&] { version = factory->version(); });
  return version;
}

bool copyOver(const char* newFile, const char* target) {
  if (!CopyFileA(newFile, target, FALSE)) {
    failed("Impossible to copy '%s' to %s !\n", newFile, target);
    return false;
  }
  progress("- New file (%s) copied.\n", newFile);
  return true;
}

SessionNode* nodeOfClient(PlugRecord& record, Client* client) {
  if (client == nullptr) return record.sessions;
  for (SessionNode* node = record.sessions; node != nullptr; node = node->next)
    if (node->client == client) return node;
  return nullptr;
}

void terminated() {
  setSystemColor(kGreen);
  printSystem("Update Terminated.\n");
  setSystemColor(kBlack);
}

struct Extension {
  const char* text;
  int kind;
};

const Extension kExtensions[] = {
    {".vsy", PLUG_KIND_SYSTEM},
    {".vma", PLUG_KIND_MAIN},
    {".vad", PLUG_KIND_ADDIN},
    {".vio", PLUG_KIND_INOUT},
};

int kindOfExtension(const char* extension) {
  if (extension == nullptr) return 0;
  for (const Extension& known : kExtensions)
    if (equalsNoCase(extension, known.text)) return known.kind;
  return 0;
}

}  // namespace

void PlugsManagers::updatePlug(const char* newFile) {
  if (newFile == nullptr) return;
  HMODULE module = LoadLibraryA(newFile);
  if (module == nullptr) {
    failed("The new file '%s' is not a plugin !\n", newFile);
    return;
  }
  Probe probe;
  bool sound = guardedCall([&] { readProbe(module, probe); });
  if (!sound || !probe.compatible) {
    FreeLibrary(module);
    if (!sound)
      failed("A critical error has been detected with the new file '%s' !\n", newFile);
    else
      failed("The new file '%s' is not compatible with this Vornith' version !\n", newFile);
    return;
  }
  lock();
  PlugRecord* record = findPlug(probe.name, 0);
  if (record == nullptr) {
    setSystemColor(kInfo);
    printSystem("Update Info : ");
    setSystemColor(kBlack);
    printSystem("The plugs' name '%s' has not been found !\n", probe.name);
    FreeLibrary(module);
    installPlug(newFile);
    unlock();
    return;
  }
  FreeLibrary(module);
  if (probe.kind != record->kind) {
    failed("The new version of the plugin named '%s' has different type !\n", probe.name);
    unlock();
    return;
  }
  setSystemColor(kGreen);
  printSystem("Update in hand...\n");
  if (!record->isLoaded()) {
    progress("- Previous plugin not loaded.\n");
    if (copyOver(newFile, record->file)) terminated();
    unlock();
    return;
  }
  std::vector<Backup> backups = backupSessions(*record);
  progress("- Backup done.\n");
  float oldVersion = versionOf(*record);
  if (!unloadPlug(record)) {
    failed("Unable to unload the old plugins !\n");
    freeBackups(backups);
    unlock();
    return;
  }
  progress("- Old plugs unloaded (v%.2f).\n", static_cast<double>(oldVersion));
  copyOver(newFile, record->file);  // on failure the old file is loaded again
  if (!loadPlug(record)) {
    failed("Unable to load the new plugs file !\n");
    freeBackups(backups);
    unlock();
    return;
  }
  progress("- New plug loaded (v%.2f).\n", static_cast<double>(versionOf(*record)));
  for (const Backup& backup : backups) {
    if (!record->isLoaded()) break;  // a faulty restore unloaded it
    SessionNode* node = nodeOfClient(*record, backup.client);
    if (node == nullptr || node->session == nullptr) continue;
    PlugsObject* session = node->session;
    callPlug(record, "restore", true, [&] { session->restore(backup.buffer, backup.size); });
  }
  freeBackups(backups);
  progress("- Restore done.\n");
  terminated();
  unlock();
}

void PlugsManagers::installPlug(const char* newFile) {
  if (newFile == nullptr) return;
  const char* slash = std::strrchr(newFile, '\\');
  const char* fileName = slash ? slash + 1 : newFile;
  size_t length = std::strlen(directory_);
  bool separated = length > 0 && directory_[length - 1] == '\\';
  char target[2 * PlugRecord::kFileSize];
  snprintf(target, sizeof target, "%s%s%s", directory_, separated ? "" : "\\", fileName);
  lock();
  if (!copyOver(newFile, target)) {
    unlock();
    return;
  }
  // The copy stays in the folder even when its extension turns out to be wrong.
  const char* extension = std::strrchr(newFile, '.');
  progress("Extention : %s\n", extension ? extension : "");
  int kind = kindOfExtension(extension);
  if (kind == 0) {
    failed("Invalid extension for the file : %s !\n", target);
    unlock();
    return;
  }
  progress("- Load the new plug.\n");
  setSystemColor(kBlack);
  PlugList* list = plugList(kind);
  list->emplace_front();
  PlugRecord& record = list->front();
  if (!loadPlugFile(record, kind, target, true)) {
    list->pop_front();
    failed("Unable to load the new plugin... !\n");
    unlock();
    return;
  }
  hooks_->refreshPage(kind);
  // The system plug-ins session makes the session of a system plug-in that has none yet.
  if (kind == PLUG_KIND_SYSTEM && record.isLoaded() && !(record.flags & PLUG_SESSION))
    hooks_->systemLoadPlug(&record);
  setSystemColor(kBlack);
  unlock();
}
