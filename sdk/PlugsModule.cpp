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

// The module that holds this code. Asked here rather than at load time: the layer learns of
// a library only once dlopen has returned, after static initialisers have run.
HINSTANCE ownInstance() {
  HMODULE own = nullptr;
  const DWORD flags =
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  if (!GetModuleHandleExA(flags, reinterpret_cast<LPCSTR>(&plugsLibVersion), &own)) return nullptr;
  return own;
}

bool plugsSetHandlers(SdkFunctions* table, uint32_t builtFor) {
  // An instance set by other means is kept; the host's stands in only when ours is unknown.
  if (moduleInstance == nullptr) moduleInstance = ownInstance();
  if (table == nullptr || table->size < builtFor) return false;
  hostTable = table;
  if (moduleInstance == nullptr) moduleInstance = table->instance;
  return true;
}

VornithPlugsFactory* plugsGetFactory() { return moduleFactory; }
