#include "sdk/PlugsSystemSession.h"

#include <cstdarg>

#include "sdk/PlugsEntry.h"

PlugsSystemSession::PlugsSystemSession(const char* clientName) : PlugsObject(clientName) {}

bool PlugsSystemSession::onWindowMessage(HWND, UINT, WPARAM, LPARAM) { return false; }
bool PlugsSystemSession::onCheckKeyPressed(int) { return false; }
void PlugsSystemSession::onNewClient(const char*) {}
void PlugsSystemSession::onSystemEvent(const char*, int, EventData*) {}
const char* PlugsSystemSession::onReceivedData(const char*, const char* text) { return text; }
bool PlugsSystemSession::onEvent(const char*, int, const char*, EventData*) { return false; }
const char* PlugsSystemSession::onDataToSend(const char*, const char* text) { return text; }
bool PlugsSystemSession::onCommandLine(const char*) { return false; }
void PlugsSystemSession::reserved() {}

void PlugsSystemSession::sendDataToClient(const char* clientName, const char* format, ...) {
  auto entry = PLUGS_ENTRY(sendDataToClient);
  if (entry == nullptr) return;
  va_list args;
  va_start(args, format);
  entry(clientName, format, args);
  va_end(args);
}

int PlugsSystemSession::getSystemString(const char* key, char* buffer, int size, const char* def) {
  auto entry = PLUGS_ENTRY(getSystemString);
  return entry != nullptr ? entry(key, buffer, size, def) : -1;
}

int PlugsSystemSession::getSystemInt(const char* key, int def) {
  auto entry = PLUGS_ENTRY(getSystemInt);
  return entry != nullptr ? entry(key, def) : 0;
}

bool PlugsSystemSession::getSystemBool(const char* key, bool def) {
  auto entry = PLUGS_ENTRY(getSystemBool);
  return entry != nullptr ? entry(key, def) : false;
}

float PlugsSystemSession::getSystemFloat(const char* key, float def) {
  auto entry = PLUGS_ENTRY(getSystemFloat);
  return entry != nullptr ? entry(key, def) : 0.0f;
}

void PlugsSystemSession::writeSystemString(const char* key, const char* value) {
  auto entry = PLUGS_ENTRY(writeSystemString);
  if (entry != nullptr) entry(key, value);
}

void PlugsSystemSession::writeSystemInt(const char* key, int value) {
  auto entry = PLUGS_ENTRY(writeSystemInt);
  if (entry != nullptr) entry(key, value);
}

void PlugsSystemSession::writeSystemBool(const char* key, bool value) {
  auto entry = PLUGS_ENTRY(writeSystemBool);
  if (entry != nullptr) entry(key, value);
}

void PlugsSystemSession::writeSystemFloat(const char* key, float value) {
  auto entry = PLUGS_ENTRY(writeSystemFloat);
  if (entry != nullptr) entry(key, value);
}
