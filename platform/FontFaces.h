// The Windows faces the program and its settings name, mapped to installed faces: the free
// faces with the same metrics where they exist, else the closest DejaVu face.
#pragma once

namespace vornplatform {

// Registers the mapping with Qt's font matching, once the application exists. A face that is
// installed under its own name (or added by AddFontResourceA) is used as it is.
void installFaceSubstitutes();

}  // namespace vornplatform
