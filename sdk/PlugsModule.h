// The per-module state every plug-in carries: its own instance handle, its factory and the
// host's services table, plus the bodies of the three entry points that the host calls.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "sdk/SdkFunctions.h"

class VornithPlugsFactory;

// The version every entry point set reports; the host accepts exactly this value.
constexpr float kPlugsLibVersion = 2.0f;

// This module's instance handle (null until known).
HINSTANCE plugsModuleInstance();
void setPlugsModuleInstance(HINSTANCE instance);

// This module's factory: set by the factory's constructor, null until then.
VornithPlugsFactory* plugsFactory();
void setPlugsFactory(VornithPlugsFactory* factory);

// The host's table as kept by the last accepted plugsSetHandlers, or null.
SdkFunctions* plugsHostTable();
// Forgets the table again, so the module runs without host services.
void clearPlugsHostTable();

// Bodies of the entry points. plugsSetHandlers refuses a null table and one whose size field
// is below builtFor (the size of the table this plug-in was built against).
float plugsLibVersion();
bool plugsSetHandlers(SdkFunctions* table, uint32_t builtFor);
VornithPlugsFactory* plugsGetFactory();
