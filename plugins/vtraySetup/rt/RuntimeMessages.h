// The runtime's own notices to a control, sent through its window method like window messages
// (numbers of our own, above the layer's private range): mouse in and out, focus leaving, enable
// and text changes.
#pragma once

#include "platform/win32.h"

namespace frt {

constexpr UINT CM_MOUSEENTER = 0xB000 + 1;
constexpr UINT CM_MOUSELEAVE = 0xB000 + 2;
constexpr UINT CM_EXIT = 0xB000 + 3;
constexpr UINT CM_ENABLEDCHANGED = 0xB000 + 4;
constexpr UINT CM_TEXTCHANGED = 0xB000 + 5;

// A message travelling through a control's window method; the handler sets result.
struct Message {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
};

}  // namespace frt
