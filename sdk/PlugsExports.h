// The three entry points a plug-in exports, as a macro each plug-in expands once in one of its
// own sources, so the symbols live in the plug-in module itself with default visibility.
#pragma once

#include "sdk/PlugsModule.h"
#include "sdk/SdkFunctions.h"
#include "sdk/VornithPlugsFactory.h"

#define VORNITH_PLUGIN_EXPORT_ATTR extern "C" __attribute__((visibility("default"), used))

// builtFor: the table size the plug-in needs (kSdkFunctionsFullSize or kSdkFunctionsShortSize).
#define VORNITH_PLUGIN_EXPORTS_FOR(builtFor)                                  \
  VORNITH_PLUGIN_EXPORT_ATTR float LibVersion() { return plugsLibVersion(); } \
  VORNITH_PLUGIN_EXPORT_ATTR bool SetHandlers(SdkFunctions* table) {          \
    return plugsSetHandlers(table, (builtFor));                               \
  }                                                                           \
  VORNITH_PLUGIN_EXPORT_ATTR VornithPlugsFactory* GetPlugsFactory() { return plugsGetFactory(); }

// A plug-in that uses the whole table, including the system settings entries.
#define VORNITH_PLUGIN_EXPORTS() VORNITH_PLUGIN_EXPORTS_FOR(kSdkFunctionsFullSize)
// A plug-in that uses only the entries before the system settings.
#define VORNITH_PLUGIN_EXPORTS_SHORT() VORNITH_PLUGIN_EXPORTS_FOR(kSdkFunctionsShortSize)
