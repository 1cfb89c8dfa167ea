// Internal to platform/: DrawTextA's work with a chosen tab length, shared by DrawTextA and
// DrawTextExA.
#pragma once

#include <QFont>

#include "platform/win32.h"

namespace vornplatform {

// DrawTextA, tabs expanded to stops every tabColumns characters.
int drawTextTabbed(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format, int tabColumns);
// The height of one line of text in the font, as every text call measures it.
int lineHeight(const QFont& font);

}  // namespace vornplatform
