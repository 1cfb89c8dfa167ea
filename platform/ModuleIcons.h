// Icon resources of modules and the pictures behind icon handles, for the areas of the layer
// that show icons (window frames, the notification area). Internal to platform/.
#pragma once

#include <QImage>

#include "platform/win32_base.h"

class QIcon;

// Exported so that the layer's own tests can reach these internals.
#pragma GCC visibility push(default)
namespace vornplatform {

// Decoders of the picture files modules register; false for anything else, without decoding
// what is plainly not such a file.
bool decodeBmpResource(const void* data, int size, QImage* out);
bool decodeIconResource(const void* data, int size, QImage* out);

// The shared handle of the module's icon id (the same one each time), or null when the module
// registered no such icon.
HICON moduleIcon(HMODULE module, int id);
// The module's icon with the lowest id, or null.
HICON firstModuleIcon(HMODULE module);
// True for a handle moduleIcon gave and whose module is still loaded.
bool isModuleIcon(HICON icon);
// The icon's picture as Qt shows it (large, and small when given); a null icon when neither
// handle has a picture.
QIcon qtIconOf(HICON large, HICON small = nullptr);

// FreeLibrary drops the module's icons with its other resources.
void forgetModuleIcons(HMODULE module);

}  // namespace vornplatform
#pragma GCC visibility pop
