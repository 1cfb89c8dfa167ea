// The host's side of the services table handed to every plug-in: one handler per entry, each
// forwarding to the console, the system window, the plug-ins managers or the caller's client.
#pragma once

#include "sdk/SdkFunctions.h"

// Writes the table's size, the host's instance and system window, and every service entry.
// Call once the system window exists and before any plug-in is loaded.
void fillSdkFunctions(SdkFunctions* table);
