#include "sdk/PlugsSession.h"

#include <cstdarg>

#include "sdk/PlugsEntry.h"

PlugsSession::PlugsSession(const char* clientName) : PlugsObject(clientName) {}

void PlugsSession::onSystemEvent(int, EventData*) {}

void PlugsSession::disconnect() {
  auto entry = PLUGS_ENTRY(disconnect);
  if (entry != nullptr) entry(this);
}

void PlugsSession::connect() {
  auto entry = PLUGS_ENTRY(connect);
  if (entry != nullptr) entry(this);
}

bool PlugsSession::isConnected() {
  auto entry = PLUGS_ENTRY(isConnected);
  return entry != nullptr ? entry(this) : false;
}

void PlugsSession::addServer(const char* host, int port, int flag) {
  auto entry = PLUGS_ENTRY(addServer);
  if (entry != nullptr) entry(this, host, port, flag);
}

void PlugsSession::sendData(const char* format, ...) {
  auto entry = PLUGS_ENTRY(sendData);
  if (entry == nullptr) return;
  va_list args;
  va_start(args, format);
  entry(this, format, args);
  va_end(args);
}

void PlugsSession::defineColor(const char* name, const char* label, int r, int g, int b) {
  auto entry = PLUGS_ENTRY(defineColor);
  if (entry != nullptr) entry(this, name, label, r, g, b);
}

COLORREF PlugsSession::getColor(const char* name) {
  auto entry = PLUGS_ENTRY(getColor);
  return entry != nullptr ? entry(this, name) : 0;
}

void PlugsSession::setColor(const char* name, int r, int g, int b) {
  auto entry = PLUGS_ENTRY(setColor);
  if (entry != nullptr) entry(this, name, r, g, b);
}

void PlugsSession::defineFont(const char* name, const char* label, const char* face, int size,
                              int style) {
  auto entry = PLUGS_ENTRY(defineFont);
  if (entry != nullptr) entry(this, name, label, face, size, style);
}

FontRecord PlugsSession::getFont(const char* name) {
  auto entry = PLUGS_ENTRY(getFont);
  if (entry == nullptr) return FontRecord{nullptr, 0, 0};
  return entry(this, name);
}

void PlugsSession::setFont(const char* name, const char* face, int size, int style) {
  auto entry = PLUGS_ENTRY(setFont);
  if (entry != nullptr) entry(this, name, face, size, style);
}

bool PlugsSession::hasEvent(const char* eventName) {
  auto entry = PLUGS_ENTRY(hasEvent);
  return entry != nullptr ? entry(this, eventName) : false;
}

int PlugsSession::getClientString(const char* key, char* buffer, int size, const char* def) {
  auto entry = PLUGS_ENTRY(getClientString);
  return entry != nullptr ? entry(this, key, buffer, size, def) : -1;
}

int PlugsSession::getClientInt(const char* key, int def) {
  auto entry = PLUGS_ENTRY(getClientInt);
  return entry != nullptr ? entry(this, key, def) : 0;
}

bool PlugsSession::getClientBool(const char* key, bool def) {
  auto entry = PLUGS_ENTRY(getClientBool);
  return entry != nullptr ? entry(this, key, def) : false;
}

float PlugsSession::getClientFloat(const char* key, float def) {
  auto entry = PLUGS_ENTRY(getClientFloat);
  return entry != nullptr ? entry(this, key, def) : 0.0f;
}

void PlugsSession::writeClientString(const char* key, const char* value) {
  auto entry = PLUGS_ENTRY(writeClientString);
  if (entry != nullptr) entry(this, key, value);
}

void PlugsSession::writeClientInt(const char* key, int value) {
  auto entry = PLUGS_ENTRY(writeClientInt);
  if (entry != nullptr) entry(this, key, value);
}

void PlugsSession::writeClientBool(const char* key, bool value) {
  auto entry = PLUGS_ENTRY(writeClientBool);
  if (entry != nullptr) entry(this, key, value);
}

void PlugsSession::writeClientFloat(const char* key, float value) {
  auto entry = PLUGS_ENTRY(writeClientFloat);
  if (entry != nullptr) entry(this, key, value);
}

bool PlugsSession::hasPlug(const char* plugName) {
  auto entry = PLUGS_ENTRY(hasPlug);
  return entry != nullptr ? entry(this, plugName) : false;
}

const char* PlugsSession::getPlugsList() {
  auto entry = PLUGS_ENTRY(getPlugsList);
  return entry != nullptr ? entry(this) : nullptr;
}
