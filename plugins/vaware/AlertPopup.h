// The alert pop-up: a borderless topmost dialog holding one read-only rich edit, made from the
// plug-in's own dialog template, shown with one line in a corner and hidden by its timer.
#pragma once

#include <string>

#include "platform/win32.h"
#include "plugins/vaware/AlertGeometry.h"
#include "sdk/SdkFunctions.h"

class AlertPopup {
 public:
  static const int kDialogId = 102;
  static const int kEditId = 1000;
  static const UINT_PTR kHideTimer = 1;

  // The pop-up's template, registered as dialog 102 of module.
  static void registerTemplate(HMODULE module);

  AlertPopup() = default;
  AlertPopup(const AlertPopup&) = delete;
  AlertPopup& operator=(const AlertPopup&) = delete;
  ~AlertPopup() { destroy(); }

  // Makes the pop-up (hidden, topmost); false when module has no such dialog.
  bool create(HMODULE module, HWND owner);
  // Its timer and window go before the module that holds their code does.
  void destroy();
  bool exists() const { return IsWindow(popup_) != FALSE; }
  HWND window() const { return popup_; }
  int templateWidth() const { return templateWidth_; }

  // Shows line in the font (face kept when null, size 10 when not positive), black on white,
  // placed in the work area's corner, hidden after delayMs. A line that would not fit the
  // work area is cut, with a mark.
  void show(const std::string& line, const FontRecord& font, const RECT& workArea, int position,
            unsigned delayMs);

 private:
  void applyFont(HWND edit, const FontRecord& font) const;
  SIZE measure(HWND edit, const std::string& line) const;
  // Puts text into the edit in the font and answers where the pop-up would go.
  AlertPlacement fill(HWND edit, const std::string& text, const FontRecord& font,
                      const RECT& workArea, int position) const;

  HWND popup_ = nullptr;
  int templateWidth_ = 0;
};
