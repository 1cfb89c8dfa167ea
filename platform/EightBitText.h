// How the drawing and dialog code of the layer shows 8-bit text: UTF-8 where the bytes form
// valid UTF-8, and each other byte as its Windows-1252 character.
#pragma once

#include <QString>

namespace vornplatform {

// Decodes length bytes (or up to the NUL when length is negative); null text is empty.
QString decodeEightBit(const char* text, int length = -1);

}  // namespace vornplatform
