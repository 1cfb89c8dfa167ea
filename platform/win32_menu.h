// Menus of the layer: menu bars attached to top-level windows and pop-up menus, addressed by
// command id (searching submenus) or by position.
#pragma once

#include "platform/win32_window.h"

#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_STRING 0x00000000L
#define MF_BITMAP 0x00000004L
#define MF_OWNERDRAW 0x00000100L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_HILITE 0x00000080L
#define MF_DEFAULT 0x00001000L

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

VORNAPI HMENU CreateMenu();
VORNAPI HMENU CreatePopupMenu();
VORNAPI BOOL DestroyMenu(HMENU menu);
VORNAPI BOOL IsMenu(HMENU menu);
// With MF_POPUP, id is the submenu's handle.
VORNAPI BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
VORNAPI BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text);
VORNAPI BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text);
VORNAPI BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
VORNAPI BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// Return the previous state, or (DWORD)-1 when the item does not exist.
VORNAPI DWORD EnableMenuItem(HMENU menu, UINT id, UINT enable);
VORNAPI DWORD CheckMenuItem(HMENU menu, UINT id, UINT check);
// The item's MF_ flags; for a submenu MF_POPUP | (item count << 8); (UINT)-1 when not found.
VORNAPI UINT GetMenuState(HMENU menu, UINT id, UINT flags);
VORNAPI int GetMenuItemCount(HMENU menu);
VORNAPI UINT GetMenuItemID(HMENU menu, int position);
VORNAPI HMENU GetSubMenu(HMENU menu, int position);
VORNAPI int GetMenuStringA(HMENU menu, UINT id, LPSTR buffer, int size, UINT flags);
// Attaches a bar to a top-level window (null detaches it); the client area changes size.
VORNAPI BOOL SetMenu(HWND hwnd, HMENU menu);
VORNAPI HMENU GetMenu(HWND hwnd);
VORNAPI BOOL DrawMenuBar(HWND hwnd);
// Shows a pop-up menu at a screen point; a choice posts WM_COMMAND(id, 0) to the owner unless
// TPM_RETURNCMD asks for the id as the result.
VORNAPI BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                            const RECT* rect);
