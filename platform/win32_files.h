// File paths of the layer: Win32-style names ('\' or '/', ".\x", any letter case) mapped to
// the files that exist here, and the fopen every text reader and log of the system uses.
#pragma once

#include <cstdio>
#include <string>

#include "platform/win32_base.h"

// Native path for a Win32-style one: separators become '/', and each component that does not
// exist as written is matched ignoring case against its folder's entries. A component that
// matches nothing is kept as written (a file about to be created).
VORNAPI std::string resolvePath(const char* path);

// fopen over resolvePath. Reading in text mode ("r" or "rt", no 'b', no '+') drops the CR of
// every CR LF, as Windows text streams do. Returns null and sets errno on failure.
VORNAPI FILE* fopenPath(const char* path, const char* mode);
