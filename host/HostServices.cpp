#include "host/HostServices.h"

#include <cstdio>
#include <memory>

#include "host/Client.h"
#include "host/ClientList.h"
#include "host/Console.h"
#include "host/Host.h"
#include "host/PlugsManagers.h"
#include "host/SystemSettings.h"
#include "host/SystemWindow.h"
#include "sdk/PlugsObject.h"

namespace {

const char* const unknownName = "(unknown)";
// Lines sent for a plug-in are cut at this size, like the console's at 8192.
const int sendBufferSize = 65536;

// The client name a session holds, read only when the session is one the managers still keep
// (a plug-in may call with a session it already deleted). System sessions count as known.
const char* knownClientName(PlugsObject* session) {
  if (plugsManagers == nullptr || session == nullptr) return unknownName;
  for (int kind : {PLUG_KIND_SYSTEM, PLUG_KIND_INOUT, PLUG_KIND_MAIN, PLUG_KIND_ADDIN}) {
    PlugList* list = plugsManagers->plugList(kind);
    if (list == nullptr) continue;
    for (PlugRecord& record : *list) {
      if (record.findSession(session) == nullptr) continue;
      const char* name = session->getClientName();
      return name != nullptr ? name : unknownName;
    }
  }
  return unknownName;
}

// The client that owns session; when there is none, the console says so and the caller gives
// its neutral result.
Client* clientOf(PlugsObject* session) {
  Client* client = plugsManagers != nullptr ? plugsManagers->findClientOfSession(session) : nullptr;
  if (client == nullptr) {
    setSystemColor(RGB(128, 0, 0));
    printSystem("Send Error : Client not found (%s) !\n", knownClientName(session));
  }
  return client;
}

// The formatted text in a fresh buffer of sendBufferSize bytes; longer texts are cut.
std::unique_ptr<char[]> formatLine(const char* format, va_list args) {
  std::unique_ptr<char[]> text(new char[sendBufferSize]);
  text[0] = 0;
  if (format != nullptr && vsnprintf(text.get(), sendBufferSize, format, args) < 0) text[0] = 0;
  return text;
}

// A string getter writes nothing and copies nothing without room to write into.
int copyString(IniFile& ini, const char* key, char* buffer, int size, const char* def) {
  if (buffer == nullptr || size <= 0) return 0;
  return static_cast<int>(ini.getString(key, buffer, static_cast<DWORD>(size), def));
}

// The handlers, in table order; named after their entries.
namespace services {

// Console.

float hostVersion() { return getHostVersion(); }

void systemColor(int r, int g, int b) { setSystemColorRgb(r, g, b); }

void printSystemV(const char* format, va_list args) { vprintSystem(format, args); }

void sendDataToClient(const char* name, const char* format, va_list args) {
  std::unique_ptr<char[]> text = formatLine(format, args);
  Client* client = clientList != nullptr ? clientList->findClient(name) : nullptr;
  if (client == nullptr) {
    printSystem("Send Error : Client '%s' not found !\n", name != nullptr ? name : unknownName);
    return;
  }
  client->sendData(text.get());
}

// Connection.

void disconnect(PlugsObject* session) {
  if (Client* client = clientOf(session)) client->getConnection().disconnect();
}

void connect(PlugsObject* session) {
  if (Client* client = clientOf(session)) client->getConnection().connect();
}

bool isConnected(PlugsObject* session) {
  Client* client = clientOf(session);
  return client != nullptr && client->getConnection().isConnected();
}

void addServer(PlugsObject* session, const char* host, int port, int flag) {
  if (Client* client = clientOf(session)) client->getConnection().addServer(host, port, flag != 0);
}

void sendData(PlugsObject* session, const char* format, va_list args) {
  Client* client = clientOf(session);
  if (client == nullptr) return;
  std::unique_ptr<char[]> text = formatLine(format, args);
  client->sendData(text.get());
}

// System window tabs and keys; neutral once the window object is gone.

HWND addSystemTab(const char* title) {
  return systemWindow != nullptr ? systemWindow->addTab(title) : nullptr;
}

void removeSystemTab(HWND tab) {
  if (systemWindow != nullptr) systemWindow->removeTab(tab);
}

void highlightSystemTab(HWND tab, bool on) {
  if (systemWindow != nullptr) systemWindow->highlightTab(tab, on);
}

void selectSystemTab(HWND tab) {
  if (systemWindow != nullptr) systemWindow->selectTab(tab);
}

bool isSystemTabSelected(HWND tab) {
  return systemWindow != nullptr && systemWindow->isTabSelected(tab);
}

void setSystemTabText(HWND tab, const char* text) {
  if (systemWindow != nullptr) systemWindow->setTabText(tab, text);
}

bool checkKeyPressed(int key) {
  return systemWindow != nullptr && systemWindow->checkKeyPressed(key);
}

// Colours and fonts of the caller's client.

void defineColor(PlugsObject* session, const char* name, const char* label, int r, int g, int b) {
  if (Client* client = clientOf(session)) client->defineColor(name, label, r, g, b);
}

COLORREF getColor(PlugsObject* session, const char* name) {
  Client* client = clientOf(session);
  return client != nullptr ? client->getColor(name) : 0;
}

void setColor(PlugsObject* session, const char* name, int r, int g, int b) {
  if (Client* client = clientOf(session)) client->setColor(name, r, g, b);
}

void defineFont(PlugsObject* session, const char* name, const char* label, const char* face,
                int size, int style) {
  if (Client* client = clientOf(session)) client->defineFont(name, label, face, size, style);
}

FontRecord getFont(PlugsObject* session, const char* name) {
  Client* client = clientOf(session);
  if (client == nullptr) return FontRecord{nullptr, 0, 0};
  return client->getFont(name);
}

void setFont(PlugsObject* session, const char* name, const char* face, int size, int style) {
  if (Client* client = clientOf(session)) client->setFont(name, face, size, style);
}

bool hasEvent(PlugsObject* session, const char* event) {
  Client* client = clientOf(session);
  return client != nullptr && client->getEvents().hasEvent(event);
}

// The client's section of the plug-ins' settings file.

int getClientString(PlugsObject* session, const char* key, char* buffer, int size,
                    const char* def) {
  Client* client = clientOf(session);
  return client != nullptr ? copyString(client->getPlugsIni(), key, buffer, size, def) : 0;
}

int getClientInt(PlugsObject* session, const char* key, int def) {
  Client* client = clientOf(session);
  return client != nullptr ? client->getPlugsIni().getInt(key, def) : 0;
}

bool getClientBool(PlugsObject* session, const char* key, bool def) {
  Client* client = clientOf(session);
  return client != nullptr && client->getPlugsIni().getBool(key, def);
}

float getClientFloat(PlugsObject* session, const char* key, float def) {
  Client* client = clientOf(session);
  return client != nullptr ? static_cast<float>(client->getPlugsIni().getFloat(key, def)) : 0.0f;
}

void writeClientString(PlugsObject* session, const char* key, const char* value) {
  if (Client* client = clientOf(session)) client->getPlugsIni().writeString(key, value);
}

void writeClientInt(PlugsObject* session, const char* key, int value) {
  if (Client* client = clientOf(session)) client->getPlugsIni().writeInt(key, value);
}

void writeClientBool(PlugsObject* session, const char* key, bool value) {
  if (Client* client = clientOf(session)) client->getPlugsIni().writeBool(key, value);
}

void writeClientFloat(PlugsObject* session, const char* key, float value) {
  if (Client* client = clientOf(session)) client->getPlugsIni().writeFloat(key, value);
}

// Plug-ins: queries and routing.

bool hasPlug(PlugsObject* session, const char* plug) {
  Client* client = clientOf(session);
  return client != nullptr && client->hasPlug(plug);
}

// A plug-in known but not loaded has no factory to ask.
PlugRecord* loadedPlug(const char* name) {
  PlugRecord* record = plugsManagers != nullptr ? plugsManagers->findPlug(name, 0) : nullptr;
  if (record == nullptr || !record->isLoaded() || record->factory == nullptr) return nullptr;
  return record;
}

const char* getPlugAuthor(const char* plug) {
  PlugRecord* record = loadedPlug(plug);
  return record != nullptr ? record->factory->author() : nullptr;
}

float getPlugVersion(const char* plug) {
  PlugRecord* record = loadedPlug(plug);
  return record != nullptr ? record->factory->version() : 0.0f;
}

const char* getPlugsList(PlugsObject* session) {
  Client* client = clientOf(session);
  return client != nullptr ? client->buildPlugsList() : nullptr;
}

void sendEvent(PlugsObject* session, const char* to, const char* type, void* data) {
  if (Client* client = clientOf(session)) client->SendEvent(session, to, type, data);
}

int sendRequest(PlugsObject* session, const char* to, char* answer, int answerSize,
                const char* request, void* argument) {
  Client* client = clientOf(session);
  if (client == nullptr) return -1;
  return client->SendRequest(session, to, answer, answerSize, request, argument);
}

void updatePlug(const char* file) {
  if (plugsManagers != nullptr) plugsManagers->updatePlug(file);
}

// Section "System" of the host settings file, straight to the file.

int getSystemString(const char* key, char* buffer, int size, const char* def) {
  return systemSettings != nullptr ? copyString(*systemSettings, key, buffer, size, def) : 0;
}

int getSystemInt(const char* key, int def) {
  return systemSettings != nullptr ? systemSettings->getInt(key, def) : def;
}

bool getSystemBool(const char* key, bool def) {
  return systemSettings != nullptr ? systemSettings->getBool(key, def) : def;
}

float getSystemFloat(const char* key, float def) {
  return systemSettings != nullptr ? static_cast<float>(systemSettings->getFloat(key, def)) : def;
}

void writeSystemString(const char* key, const char* value) {
  if (systemSettings != nullptr) systemSettings->writeString(key, value);
}

void writeSystemInt(const char* key, int value) {
  if (systemSettings != nullptr) systemSettings->writeInt(key, value);
}

void writeSystemBool(const char* key, bool value) {
  if (systemSettings != nullptr) systemSettings->writeBool(key, value);
}

void writeSystemFloat(const char* key, float value) {
  if (systemSettings != nullptr) systemSettings->writeFloat(key, value);
}

}  // namespace services
}  // namespace

void fillSdkFunctions(SdkFunctions* table) {
  *table = SdkFunctions{};
  table->size = sizeof(SdkFunctions);
  table->instance = hostInstance;
  table->systemWindow = systemWindow != nullptr ? systemWindow->getHwnd() : nullptr;
  table->getHostVersion = services::hostVersion;
  table->setSystemColor = services::systemColor;
  table->printSystemV = services::printSystemV;
  table->sendDataToClient = services::sendDataToClient;
  table->disconnect = services::disconnect;
  table->connect = services::connect;
  table->isConnected = services::isConnected;
  table->addServer = services::addServer;
  table->sendData = services::sendData;
  table->addSystemTab = services::addSystemTab;
  table->removeSystemTab = services::removeSystemTab;
  table->highlightSystemTab = services::highlightSystemTab;
  table->selectSystemTab = services::selectSystemTab;
  table->isSystemTabSelected = services::isSystemTabSelected;
  table->setSystemTabText = services::setSystemTabText;
  table->checkKeyPressed = services::checkKeyPressed;
  table->defineColor = services::defineColor;
  table->getColor = services::getColor;
  table->setColor = services::setColor;
  table->defineFont = services::defineFont;
  table->getFont = services::getFont;
  table->setFont = services::setFont;
  table->hasEvent = services::hasEvent;
  table->getClientString = services::getClientString;
  table->getClientInt = services::getClientInt;
  table->getClientBool = services::getClientBool;
  table->getClientFloat = services::getClientFloat;
  table->writeClientString = services::writeClientString;
  table->writeClientInt = services::writeClientInt;
  table->writeClientBool = services::writeClientBool;
  table->writeClientFloat = services::writeClientFloat;
  table->hasPlug = services::hasPlug;
  table->getPlugAuthor = services::getPlugAuthor;
  table->getPlugVersion = services::getPlugVersion;
  table->getPlugsList = services::getPlugsList;
  table->sendEvent = services::sendEvent;
  table->sendRequest = services::sendRequest;
  table->updatePlug = services::updatePlug;
  table->getSystemString = services::getSystemString;
  table->getSystemInt = services::getSystemInt;
  table->getSystemBool = services::getSystemBool;
  table->getSystemFloat = services::getSystemFloat;
  table->writeSystemString = services::writeSystemString;
  table->writeSystemInt = services::writeSystemInt;
  table->writeSystemBool = services::writeSystemBool;
  table->writeSystemFloat = services::writeSystemFloat;
}
