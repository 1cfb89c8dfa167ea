// The record of one analysed server line as it crosses to a plug-in: the line and its named
// variables as name/value pairs. Plain data: host and plug-ins agree on this layout.
#pragma once

#include "sdk/NoCase.h"

struct EventData {
  char* text;
  int count;    // number of variables
  char** vars;  // 2 * count entries: name, value, name, value...

  // The analysed line.
  const char* getText() const { return text; }

  // The value of the first variable whose name matches ignoring case, or null.
  const char* getValue(const char* name) const {
    if (name == nullptr || vars == nullptr) return nullptr;
    for (int i = 0; i < count; ++i) {
      if (equalsNoCase(vars[2 * i], name)) return vars[2 * i + 1];
    }
    return nullptr;
  }
};

static_assert(sizeof(EventData) == 3 * sizeof(void*), "text, count, vars");
