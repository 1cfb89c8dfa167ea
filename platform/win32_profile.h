// Private-profile (INI) functions of the layer: sections of key=value lines in a text file,
// looked up ignoring case, re-read at every call and replaced atomically on every write.
#pragma once

#include "platform/win32_base.h"

// The value of key in section, or the default (trailing blanks trimmed) when it is missing.
// A null key lists the section's keys, a null section lists the sections: each name
// NUL-terminated, then one more NUL. Returns the count of characters copied, without the
// final NUL; a list that does not fit is cut and returns size - 2.
VORNAPI DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue,
                                       LPSTR buffer, DWORD size, LPCSTR fileName);

// The names of every section, in file order and as written: each NUL-terminated, then one
// more NUL. A list that does not fit is cut and returns size - 2; a missing file gives 0.
VORNAPI DWORD GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR fileName);

// The value of key as a decimal (or 0x hexadecimal) number; the default when the key is
// missing or empty, 0 when it does not start with a number.
VORNAPI UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);

// Sets key to value, creating the file and the section when needed. A null value deletes the
// key, a null key deletes the section. FALSE on an I/O error.
VORNAPI BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

// A null data deletes the section; otherwise data ("key=value\0...\0\0") replaces its lines.
VORNAPI BOOL WritePrivateProfileSectionA(LPCSTR section, LPCSTR data, LPCSTR fileName);
