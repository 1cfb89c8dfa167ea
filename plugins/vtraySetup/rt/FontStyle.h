// A font as the runtime's controls carry it: face, height in pixels (negative: character
// height) and colour; canvases turn it into a layer font when they draw text.
#pragma once

#include <string>

#include "plugins/vtraySetup/rt/Colors.h"

namespace frt {

struct FontStyle {
  std::string name = "MS Sans Serif";
  int height = -11;
  Color color = clWindowText;
  bool bold = false;
};

}  // namespace frt
