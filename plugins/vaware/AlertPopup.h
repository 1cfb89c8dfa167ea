// The alert pop-up: a borderless topmost dialog holding one read-only rich edit, made from the
// plug-in's own dialog template, shown with one line in a corner and hidden by its timer.
#pragma once

#include <string>

#include "platform/win32.h"
#include "sdk/SdkFunctions.h"

class AlertPopup {
 public:
  static const int kDialogId = 102;
  static const int kEditId = 1000;
  static const UINT_PTR kHideTimer = 1;

  // The pop-up's template, registered as dialog 102 of module.
  static void registerTemplate(HMODULE module);

  // Makes the pop-up (hidden, topmost); false when module has no such dialog.
  bool create(HMODULE module, HWND owner);
  bool exists() const { return IsWindow(popup_) != FALSE; }
  HWND window() const { return popup_; }
  int templateWidth() const { return templateWidth_; }

  // Shows line in the font (face kept when null, size 10 when not positive), black on white,
  // placed in the work area's corner, hidden after delayMs.
  void show(const std::string& line, const FontRecord& font, const RECT& workArea, int position,
            unsigned delayMs);

 private:
  void applyFont(HWND edit, const FontRecord& font) const;
  SIZE measure(HWND edit, const std::string& line) const;

  HWND popup_ = nullptr;
  int templateWidth_ = 0;
};
