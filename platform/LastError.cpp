// The per-thread last-error value that every area of the layer sets on failure.
#include "platform/win32_base.h"

namespace {
thread_local DWORD lastError = 0;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }
