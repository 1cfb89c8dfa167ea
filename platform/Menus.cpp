// placeholder
#include "platform/WindowTable.h"
namespace vornplatform {
void rebuildMenuBar(HWND) {}
void menuChanged(HMENU) {}
}
BOOL DestroyMenu(HMENU) { return FALSE; }
