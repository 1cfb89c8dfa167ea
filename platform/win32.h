// The Win32 API as our platform layer provides it, for code above the layer.
// Split by area; include this one header.
#pragma once

#include "platform/win32_base.h"
#include "platform/win32_files.h"
#include "platform/win32_findfile.h"
#include "platform/win32_profile.h"
#include "platform/win32_system.h"
#include "platform/win32_threads.h"
#include "platform/win32_winsock.h"
#include "platform/win32_window.h"
#include "platform/win32_menu.h"
#include "platform/win32_gdi.h"
#include "platform/win32_shapes.h"
#include "platform/win32_ownerdraw.h"
#include "platform/win32_metrics.h"
#include "platform/win32_ole.h"
#include "platform/win32_richedit.h"
#include "platform/win32_commctrl.h"
#include "platform/win32_dialogs.h"
#include "platform/win32_resources.h"
#include "platform/win32_dialogtemplate.h"
#include "platform/win32_shell.h"
