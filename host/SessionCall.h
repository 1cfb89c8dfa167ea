// The guard every client call into one of its plug-in sessions goes through: a fault is
// reported in the critical-error box and the plug-in unloaded when asked, as for any plug-in.
#pragma once

#include "host/Console.h"
#include "host/Host.h"
#include "host/PlugRecord.h"
#include "host/PlugsManagers.h"
#include "platform/win32_guard.h"

// Runs call (plug-in code of plug) under the guard; false when it threw or faulted, and the
// plug-in is then unloaded when unload is set. Without plug-ins managers the fault is still
// reported, but nobody can unload the plug-in, so the report does not promise it.
template <typename Call>
bool callSession(PlugRecord* plug, const char* method, bool unload, Call&& call) {
  if (plugsManagers) return plugsManagers->callPlug(plug, method, unload, call);
  if (guardedCall(call)) return true;
  reportPluginCriticalError(plug, method, false, nullptr);
  return false;
}
