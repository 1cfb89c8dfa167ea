#include "plugins/SettingsForm/SettingsStore.h"

#include <cstdio>

#include "sdk/PlugsSession.h"
#include "sdk/PlugsSystemSession.h"

namespace {

// A host without the service leaves the buffer untouched: start from the default.
void startWith(char* buffer, int size, const char* def) {
  if (buffer != nullptr && size > 0 && def != buffer) snprintf(buffer, static_cast<size_t>(size), "%s", def ? def : "");
}

}  // namespace

bool ClientSettingsStore::getBool(const char* key, bool def) {
  return session_.getClientBool(key, def);
}
int ClientSettingsStore::getInt(const char* key, int def) { return session_.getClientInt(key, def); }
void ClientSettingsStore::getString(const char* key, char* buffer, int size, const char* def) {
  startWith(buffer, size, def);
  session_.getClientString(key, buffer, size, def);
}
void ClientSettingsStore::writeBool(const char* key, bool value) {
  session_.writeClientBool(key, value);
}
void ClientSettingsStore::writeInt(const char* key, int value) {
  session_.writeClientInt(key, value);
}
void ClientSettingsStore::writeString(const char* key, const char* value) {
  session_.writeClientString(key, value);
}

bool SystemSettingsStore::getBool(const char* key, bool def) {
  return session_.getSystemBool(key, def);
}
int SystemSettingsStore::getInt(const char* key, int def) { return session_.getSystemInt(key, def); }
void SystemSettingsStore::getString(const char* key, char* buffer, int size, const char* def) {
  startWith(buffer, size, def);
  session_.getSystemString(key, buffer, size, def);
}
void SystemSettingsStore::writeBool(const char* key, bool value) {
  session_.writeSystemBool(key, value);
}
void SystemSettingsStore::writeInt(const char* key, int value) {
  session_.writeSystemInt(key, value);
}
void SystemSettingsStore::writeString(const char* key, const char* value) {
  session_.writeSystemString(key, value);
}
