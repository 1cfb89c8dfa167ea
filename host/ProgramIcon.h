// The program's own icon: the picture the build embeds, registered as an icon of the
// program's module so its windows and the notification area show it.
#pragma once

#include "platform/win32.h"

// The id the host's window class takes its icon from.
const int kProgramIconId = 101;

// Registers the embedded picture as icon kProgramIconId of the module; false when the layer
// refuses it (the windows then show none).
bool registerProgramIcon(HMODULE module);
