// The host program's process-wide objects and its start and end: startUp makes them in a fixed
// order, shutDown destroys them in the reverse one; every pointer is null outside that span.
#pragma once

#include "platform/win32.h"
#include "sdk/SdkFunctions.h"

class SystemSettings;
class RootWindow;
class SystemWindow;
class PlugsManagers;
class SystemPluginsSession;
class ClientList;

extern HINSTANCE hostInstance;
extern SystemSettings* systemSettings;
extern RootWindow* rootWindow;
extern SystemWindow* systemWindow;
extern SdkFunctions* sdkFunctions;
extern PlugsManagers* plugsManagers;
extern SystemPluginsSession* systemPluginsSession;
extern ClientList* clientList;

void startUp(HINSTANCE instance);
void shutDown();
// Writes the operating-system line into buffer (at least 512 bytes); returns 0-4 by family.
int getOsVersionString(char* buffer);
// The program entry: single-instance question, working folder, start-up, loop, shut-down.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);
