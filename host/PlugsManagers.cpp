#include "host/PlugsManagers.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "lib/IniFile.h"
#include "sdk/NoCase.h"
#include "sdk/PlugsObject.h"

namespace {

const int kRegistryGroup = 10;
const int kRegistryValueSize = 4096;

char* copyText(const char* text) {
  size_t length = std::strlen(text) + 1;
  char* copy = new char[length];
  std::memcpy(copy, text, length);
  return copy;
}

}  // namespace

PlugsManagers::PlugsManagers(SdkFunctions* table, const char* settingsFile, PlugsHooks* hooks)
    : table_(table),
      settingsFile_(copyText(settingsFile ? settingsFile : ".\\Vornith.ini")),
      hooks_(hooks ? hooks : &noHooks_) {
  readRegistry();
}

PlugsManagers::~PlugsManagers() {
  writeRegistry();
  delete[] settingsFile_;
}

void PlugsManagers::readRegistry() {
  registry_.assign("");
  IniFile ini(settingsFile_);
  ini.setSection("System");
  char key[32];
  char value[kRegistryValueSize];
  for (int i = 0;; ++i) {
    snprintf(key, sizeof key, "Plugs%04i", i);
    value[0] = '\0';
    ini.getString(key, value, sizeof value, "");
    if (value[0] == '\0') break;
    registry_.append(value);
    registry_.append(" ");
  }
}

void PlugsManagers::writeRegistry() {
  IniFile ini(settingsFile_);
  ini.setSection("System");
  char key[32];
  String group;
  int inGroup = 0;
  int keyIndex = 0;
  auto flush = [&]() {
    snprintf(key, sizeof key, "Plugs%04i", keyIndex++);
    ini.writeString(key, group.text());
    group.assign("");
    inGroup = 0;
  };
  for (PlugList* list : {&system_, &main_, &inOut_, &addins_}) {
    for (PlugRecord& record : *list) {
      if (inGroup > 0) group.append(" ");
      group.append(record.isLoaded() ? "+" : "-");
      group.append(record.name);
      if (++inGroup == kRegistryGroup) flush();
    }
  }
  if (inGroup > 0) flush();
  // An empty key ends the registry, so groups left from a longer list never come back.
  flush();
}

// Whole entries only: "Chat" is not "+NevChat", and a sign-less entry counts as absent.
void PlugsManagers::registryState(PlugRecord& record) {
  const char* entry = registry_.text();
  size_t nameLength = std::strlen(record.name);
  while (*entry != '\0') {
    while (*entry == ' ') ++entry;
    size_t length = std::strcspn(entry, " ");
    if (length == nameLength + 1 && (entry[0] == '+' || entry[0] == '-')) {
      String candidate;
      candidate.assign(entry + 1, static_cast<int>(nameLength));
      if (equalsNoCase(candidate.text(), record.name)) {
        record.flags |= entry[0] == '+' ? PLUG_LOADED : 0u;
        return;
      }
    }
    entry += length;
  }
  record.flags |= PLUG_NEW | PLUG_LOADED;
}

void PlugsManagers::showWindow() {
  lock();
  hooks_->showManagerWindow();
  unlock();
}

PlugList* PlugsManagers::plugList(int kind) {
  switch (kind) {
    case PLUG_KIND_SYSTEM:
      return &system_;
    case PLUG_KIND_MAIN:
      return &main_;
    case PLUG_KIND_ADDIN:
      return &addins_;
    case PLUG_KIND_INOUT:
      return &inOut_;
    default:
      return nullptr;
  }
}

PlugRecord* PlugsManagers::findPlug(const char* name, int kind) {
  if (name == nullptr) return nullptr;
  for (int listKind : {PLUG_KIND_SYSTEM, PLUG_KIND_INOUT, PLUG_KIND_MAIN, PLUG_KIND_ADDIN}) {
    if (kind != 0 && kind != listKind) continue;
    for (PlugRecord& record : *plugList(listKind))
      if (equalsNoCase(record.name, name)) return &record;
  }
  return nullptr;
}

PlugRecord* PlugsManagers::walkSessions(PlugsObject* session, SessionNode** found) {
  for (PlugList* list : {&system_, &inOut_, &main_, &addins_}) {
    for (PlugRecord& record : *list) {
      SessionNode* node = record.findSession(session);
      if (node != nullptr) {
        *found = node;
        return &record;
      }
    }
  }
  return nullptr;
}

Client* PlugsManagers::findClientOfSession(PlugsObject* session) {
  SessionNode* node = nullptr;
  return walkSessions(session, &node) != nullptr ? node->client : nullptr;
}

const char* PlugsManagers::plugNameOfSession(PlugsObject* session) {
  SessionNode* node = nullptr;
  PlugRecord* record = walkSessions(session, &node);
  if (record == nullptr || record->factory == nullptr) return nullptr;
  return record->factory->name();
}

// Every session is gone by now; the factory's term runs under the guard and a fault there is
// reported without unloading (the module is freed right after anyway).
void PlugsManagers::termAndFree(PlugRecord& record) {
  if (record.factory != nullptr) {
    VornithPlugsFactory* factory = record.factory;
    callPlug(&record, "term (factory)", false, [factory] { factory->term(); });
  }
  if (record.module != nullptr) FreeLibrary(record.module);
  record.module = nullptr;
  record.factory = nullptr;
}

void PlugsManagers::unloadAll() {
  lock();
  for (PlugList* list : {&system_, &main_, &addins_, &inOut_})
    for (PlugRecord& record : *list)
      if (record.isLoaded()) termAndFree(record);  // the loaded flag stays for the registry
  unlock();
}

bool PlugsManagers::unloadPlug(PlugRecord* record) {
  if (record == nullptr) return false;
  if (record->kind == PLUG_KIND_SYSTEM) {
    hooks_->systemUnloadPlug(record);
    return true;
  }
  for (SessionNode* node = record->sessions; node != nullptr;) {
    SessionNode* next = node->next;  // the client may drop its node
    hooks_->clientUnloadPlug(node->client, record);
    node = next;
  }
  termAndFree(*record);
  record->flags &= ~PLUG_LOADED;
  return true;
}

bool PlugsManagers::unloadPlug(FaultyPlug* plug) {
  for (PlugList* list : {&system_, &inOut_, &main_, &addins_})
    for (PlugRecord& record : *list)
      if (static_cast<FaultyPlug*>(&record) == plug) return unloadPlug(&record);
  return false;
}

bool PlugsManagers::loadPlug(PlugRecord* record) {
  if (record == nullptr) return false;
  if (record->kind == PLUG_KIND_SYSTEM) return hooks_->systemLoadPlug(record);
  if (record->isLoaded() && record->factory != nullptr) return true;
  char path[PlugRecord::kFileSize];
  std::memcpy(path, record->file, sizeof path);
  if (!loadPlugFile(*record, record->kind, path, false)) return false;
  bool accepted = true;
  for (SessionNode* node = record->sessions; node != nullptr; node = node->next)
    if (!hooks_->clientLoadPlug(node->client, record)) accepted = false;
  return accepted;
}
