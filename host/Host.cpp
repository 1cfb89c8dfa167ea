// Placeholder until start-up and shut-down land.
#include "host/Host.h"

HINSTANCE hostInstance = nullptr;
SystemSettings* systemSettings = nullptr;
RootWindow* rootWindow = nullptr;
SystemWindow* systemWindow = nullptr;
SdkFunctions* sdkFunctions = nullptr;
PlugsManagers* plugsManagers = nullptr;
SystemPluginsSession* systemPluginsSession = nullptr;
ClientList* clientList = nullptr;

void startUp(HINSTANCE instance) { hostInstance = instance; }
void shutDown() {}
int getOsVersionString(char* buffer) {
  buffer[0] = 0;
  return 0;
}
int WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
