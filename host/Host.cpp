#include "host/Host.h"

#include <cstdio>
#include <cstring>

#include "host/ClientList.h"
#include "host/ConnectionRequest.h"
#include "host/Console.h"
#include "host/HostHooks.h"
#include "host/HostPlatformCalls.h"
#include "host/HostServices.h"
#include "host/PlugsManagerWindow.h"
#include "host/PlugsManagers.h"
#include "host/ProgramIcon.h"
#include "host/SystemPluginsSession.h"
#include "host/SystemSettings.h"
#include "host/SystemPluginsSetupWindow.h"
#include "host/SystemWindow.h"
#include "lib/RootWindow.h"

HINSTANCE hostInstance = nullptr;
SystemSettings* systemSettings = nullptr;
RootWindow* rootWindow = nullptr;
SystemWindow* systemWindow = nullptr;
SdkFunctions* sdkFunctions = nullptr;
PlugsManagers* plugsManagers = nullptr;
SystemPluginsSession* systemPluginsSession = nullptr;
ClientList* clientList = nullptr;

namespace {

const int osLineSize = 512;
const char* const oldStructureText = "Using Old OSVERSIONINFO structure\n";
const char* const settingsFile = ".\\Vornith.ini";

// What the managers ask of the others: system plug-ins go to the system plug-ins session once
// it exists, the rest to the clients and the manager window.
HostHooks* hostHooks = nullptr;
SystemSessionHooks* sessionHooks = nullptr;
PlugsManagerWindow* managerWindow = nullptr;
SystemPluginsSetupWindow* systemSetupPages = nullptr;

// The product and its version as a heading, then the operating-system line.
void printBanner() {
  char osLine[osLineSize];
  getOsVersionString(osLine);
  setSystemColor(RGB(192, 0, 0));
  printSystem("Vornith %.2f\n", getHostVersion());
  setSystemColor(RGB(0, 0, 0));
  printSystem("%s", osLine);
}

void startPlugins() {
  hostHooks = new HostHooks();
  sessionHooks = new SystemSessionHooks(hostHooks);
  plugsManagers = new PlugsManagers(sdkFunctions, settingsFile, sessionHooks);
  managerWindow = new PlugsManagerWindow(plugsManagers);
  hostHooks->setManagerWindow(managerWindow);
  systemSetupPages = new SystemPluginsSetupWindow();
  systemPluginsSession = new SystemPluginsSession(*plugsManagers, systemSetupPages);
  sessionHooks->setSession(systemPluginsSession);
  plugsManagers->loadAll(systemSettings->pluginsDirectory);
  systemPluginsSession->init();
}

// Each window goes before the object it names as its owner or listener.
void stopPlugins() {
  if (sessionHooks != nullptr) sessionHooks->setSession(nullptr);
  delete systemSetupPages;
  systemSetupPages = nullptr;
  delete systemPluginsSession;
  systemPluginsSession = nullptr;
  if (plugsManagers != nullptr) plugsManagers->unloadAll();
  if (hostHooks != nullptr) hostHooks->setManagerWindow(nullptr);
  delete managerWindow;
  managerWindow = nullptr;
  delete plugsManagers;
  plugsManagers = nullptr;
  delete sessionHooks;
  sessionHooks = nullptr;
  delete hostHooks;
  hostHooks = nullptr;
}

const char* systemName(const OsVersionRecord& record, int* code) {
  if (record.platform == 1) {
    bool first = record.major < 4 || (record.major == 4 && record.minor == 0);
    *code = first ? 1 : 2;
    return first ? "Win95 " : "Win98 ";
  }
  if (record.platform == 2 && record.major <= 5) {
    *code = record.major <= 4 ? 3 : 4;
    return record.major <= 4 ? "WinNT " : "Win2K ";
  }
  *code = 0;
  return "";
}

}  // namespace

int formatOsVersionString(char* buffer, bool (*query)(bool extended, OsVersionRecord* record)) {
  OsVersionRecord record = {};
  int written = 0;
  if (!query(true, &record)) {
    if (buffer != nullptr) {
      std::strcpy(buffer, oldStructureText);
      written = static_cast<int>(std::strlen(oldStructureText));
    }
    record = OsVersionRecord{};
    if (!query(false, &record)) return 0;
  }
  record.servicePack[sizeof record.servicePack - 1] = 0;
  int code = 0;
  const char* name = systemName(record, &code);
  if (buffer != nullptr)
    std::snprintf(buffer + written, osLineSize - written, "%s - Version %d.%d %s (Build %d)\n",
                  name, static_cast<int>(record.major), static_cast<int>(record.minor),
                  record.servicePack, static_cast<int>(record.build));
  return code;
}

int getOsVersionString(char* buffer) { return formatOsVersionString(buffer, queryOsVersion); }

void startUp(HINSTANCE instance) {
  hostInstance = instance;
  systemSettings = new SystemSettings();
  rootWindow = new RootWindow();
  systemWindow = new SystemWindow();
  sdkFunctions = new SdkFunctions();
  registerProgramIcon(instance);  // before the toolkit's class takes it
  initToolkit(instance, kProgramIconId, rootWindow);
  rootWindow->addChild(systemWindow);
  addConsoleFont();
  systemWindow->show();
  // A logout or a kill asks for the same close as the window's own, so settings are saved.
  postMessageOnTermination(systemWindow->getHwnd(), WM_CLOSE);
  fillSdkFunctions(sdkFunctions);
  printBanner();
  startPlugins();
  printSystem("\n");
  clientList = new ClientList();
}

// The system window may be gone already (it is destroyed when it closes): its object stays
// until the end, and console text printed meanwhile goes nowhere.
void shutDown() {
  removeConsoleFont();
  postMessageOnTermination(nullptr, 0);
  if (clientList != nullptr) clientList->quitAll();
  if (systemPluginsSession != nullptr) systemPluginsSession->term();
  delete clientList;
  clientList = nullptr;
  stopPlugins();
  delete sdkFunctions;
  sdkFunctions = nullptr;
  delete systemWindow;
  systemWindow = nullptr;
  // A request sent just before the loop ended reached no window.
  ConnectionRequest::destroyUndelivered();
  delete rootWindow;
  rootWindow = nullptr;
  // Last, so that the window state stored when the system window closed is written too.
  delete systemSettings;
  systemSettings = nullptr;
  hostInstance = nullptr;
  // Settings written during the quit wait in memory until now (a null name: every file).
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr);
}
