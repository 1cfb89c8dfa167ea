#include "sdk/PlugsModule.h"

namespace {
// Module globals: the SDK is linked statically and hidden, so each plug-in has its own.
HINSTANCE moduleInstance = nullptr;
VornithPlugsFactory* moduleFactory = nullptr;
SdkFunctions* hostTable = nullptr;
}  // namespace

HINSTANCE plugsModuleInstance() { return moduleInstance; }
void setPlugsModuleInstance(HINSTANCE instance) { moduleInstance = instance; }

VornithPlugsFactory* plugsFactory() { return moduleFactory; }
void setPlugsFactory(VornithPlugsFactory* factory) { moduleFactory = factory; }

SdkFunctions* plugsHostTable() { return hostTable; }
void clearPlugsHostTable() { hostTable = nullptr; }

float plugsLibVersion() { return kPlugsLibVersion; }

bool plugsSetHandlers(SdkFunctions* table, uint32_t builtFor) {
  if (table == nullptr || table->size < builtFor) return false;
  hostTable = table;
  // Until the layer can name the module that holds an address, the host's instance stands in
  // for ours; an instance set by other means is kept.
  if (moduleInstance == nullptr) moduleInstance = table->instance;
  return true;
}

VornithPlugsFactory* plugsGetFactory() { return moduleFactory; }
