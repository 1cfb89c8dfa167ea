// Bitmap and icon resources of modules: a module registers the picture files it carries under
// ids once it has its handle, and LoadBitmapA / LoadIconA find them until the module is freed.
#pragma once

#include "platform/win32_gdi.h"

// Keeps a copy of a complete .bmp file (file header, then an info header; 1, 4 and 8 bits
// with a palette, 16, 24 and 32 bits) as the bitmap id of module, which must be the program
// (GetModuleHandleA(null)) or a library loaded through LoadLibraryA. Registering an id again
// replaces its picture. FALSE with ERROR_INVALID_PARAMETER for a bad module, a null or short
// buffer, or bytes that are not a readable .bmp file. The module's registrations are dropped
// when FreeLibrary unloads it.
VORNAPI BOOL VornRegisterResourceBitmap(HMODULE module, int id, const void* bmpFileBytes, int size);

// A new bitmap (free it with DeleteObject) of the picture registered under
// MAKEINTRESOURCEA(id) for the module; null for an unknown module, id or a named resource.
VORNAPI HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);

// Keeps the picture of a complete .png file, or of a .bmp file as above, at most 256 pixels
// wide and tall, as the icon id of module. LoadIconA(module, MAKEINTRESOURCEA(id)) then
// answers one shared handle for it (DestroyIcon leaves it alone); a window class with that
// icon shows it on its top-level windows. Registering an id again replaces its picture. FALSE
// with ERROR_INVALID_PARAMETER for a bad module or bytes that are not such a picture. Dropped
// when FreeLibrary unloads the module, as bitmaps are.
VORNAPI BOOL VornRegisterResourceIcon(HMODULE module, int id, const void* fileBytes, int size);
