// The guard every client call into one of its plug-in sessions goes through: a fault is
// reported in the critical-error box and the plug-in is unloaded, as for any plug-in call.
#pragma once

#include "host/Console.h"
#include "host/Host.h"
#include "host/PlugRecord.h"
#include "host/PlugsManagers.h"
#include "platform/win32_guard.h"

// Runs call (plug-in code of plug) under the guard; false when it threw or faulted. Without
// plug-ins managers the fault is still reported, but nobody can unload the plug-in.
template <typename Call>
bool callSession(PlugRecord* plug, const char* method, Call&& call) {
  if (plugsManagers) return plugsManagers->callPlug(plug, method, true, call);
  if (guardedCall(call)) return true;
  reportPluginCriticalError(plug, method, true, nullptr);
  return false;
}
