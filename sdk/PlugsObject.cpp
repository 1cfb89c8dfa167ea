#include "sdk/PlugsObject.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "sdk/PlugsEntry.h"

PlugsObject::PlugsObject(const char* name) : clientName(name != nullptr ? strdup(name) : nullptr) {}

PlugsObject::~PlugsObject() { free(clientName); }

void PlugsObject::init() {}
void PlugsObject::term() {}
bool PlugsObject::hasSetupWindow() { return false; }
void PlugsObject::createSetupWindow(HWND) {}
void PlugsObject::writeSetup() {}
void PlugsObject::reloadSetup() {}
void PlugsObject::onSetupOpen() {}
void PlugsObject::onSetupClose() {}
int PlugsObject::getBackupSizeNeeded() { return 0; }
void PlugsObject::backup(void*, int) {}
void PlugsObject::restore(void*, int) {}
void PlugsObject::onUserEvent(const char*, const char*, void*) {}
int PlugsObject::onRequest(const char*, char*, int, const char*, void*) { return -1; }

float PlugsObject::getHostVersion() {
  auto entry = PLUGS_ENTRY(getHostVersion);
  return entry != nullptr ? entry() : 0.0f;
}

HWND PlugsObject::getSystemWindow() {
  SdkFunctions* table = plugsTableHolding(offsetof(SdkFunctions, systemWindow) + sizeof(HWND));
  return table != nullptr ? table->systemWindow : nullptr;
}

HINSTANCE PlugsObject::getInstance() {
  SdkFunctions* table = plugsTableHolding(offsetof(SdkFunctions, instance) + sizeof(HINSTANCE));
  return table != nullptr ? table->instance : nullptr;
}

bool PlugsObject::checkKeyPressed(int key) {
  auto entry = PLUGS_ENTRY(checkKeyPressed);
  return entry != nullptr ? entry(key) : false;
}

void PlugsObject::setSystemColor(int r, int g, int b) {
  auto entry = PLUGS_ENTRY(setSystemColor);
  if (entry != nullptr) entry(r, g, b);
}

void PlugsObject::printSystem(const char* format, ...) {
  auto entry = PLUGS_ENTRY(printSystemV);
  if (entry == nullptr) return;
  va_list args;
  va_start(args, format);
  entry(format, args);
  va_end(args);
}

HWND PlugsObject::addSystemTab(const char* title) {
  auto entry = PLUGS_ENTRY(addSystemTab);
  return entry != nullptr ? entry(title) : nullptr;
}

void PlugsObject::removeSystemTab(HWND tab) {
  auto entry = PLUGS_ENTRY(removeSystemTab);
  if (entry != nullptr) entry(tab);
}

void PlugsObject::highlightSystemTab(HWND tab, bool on) {
  auto entry = PLUGS_ENTRY(highlightSystemTab);
  if (entry != nullptr) entry(tab, on);
}

void PlugsObject::selectSystemTab(HWND tab) {
  auto entry = PLUGS_ENTRY(selectSystemTab);
  if (entry != nullptr) entry(tab);
}

bool PlugsObject::isSystemTabSelected(HWND tab) {
  auto entry = PLUGS_ENTRY(isSystemTabSelected);
  return entry != nullptr ? entry(tab) : false;
}

void PlugsObject::setSystemTabText(HWND tab, const char* text) {
  auto entry = PLUGS_ENTRY(setSystemTabText);
  if (entry != nullptr) entry(tab, text);
}

const char* PlugsObject::getPlugAuthor(const char* plugName) {
  auto entry = PLUGS_ENTRY(getPlugAuthor);
  return entry != nullptr ? entry(plugName) : nullptr;
}

float PlugsObject::getPlugVersion(const char* plugName) {
  auto entry = PLUGS_ENTRY(getPlugVersion);
  return entry != nullptr ? entry(plugName) : 0.0f;
}

void PlugsObject::sendEvent(const char* toPlug, const char* type, void* data) {
  auto entry = PLUGS_ENTRY(sendEvent);
  if (entry != nullptr) entry(this, toPlug, type, data);
}

int PlugsObject::sendRequest(const char* toPlug, char* answer, int answerSize, const char* request,
                             void* argument) {
  auto entry = PLUGS_ENTRY(sendRequest);
  return entry != nullptr ? entry(this, toPlug, answer, answerSize, request, argument) : -1;
}

void PlugsObject::updatePlug(const char* fileName) {
  auto entry = PLUGS_ENTRY(updatePlug);
  if (entry != nullptr) entry(fileName);
}
