// A form: the windowed control that owns every component on it. A parented form lives inside
// a foreign window and is freed when that window destroys it.
#pragma once

#include "plugins/vtraySetup/rt/Menu.h"
#include "plugins/vtraySetup/rt/Screen.h"
#include "plugins/vtraySetup/rt/WinControl.h"

namespace frt {

class Form : public WinControl {
 public:
  Form() : WinControl(nullptr, nullptr) { Screen::instance().add(this); }
  ~Form() override {
    Screen::instance().remove(this);
    auto notices = freeNotices;
    freeNotices.clear();
    for (auto& notice : notices) notice(this);
    destroyComponents();
  }
  const char* className() const override { return "TForm"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TForm" || n == "TCustomForm" || WinControl::inheritsFrom(n);
  }
  void paint(Canvas& canvas) override { canvas.fillRect(clientRect(), color); }
  // The form's window owns its menus: it measures and paints their owner-drawn items.
  void defaultHandler(Message& message) override {
    if (Menu::dispatchOwnerDraw(message)) return;
    WinControl::defaultHandler(message);
  }

 protected:
  void handleDestroyed() override { delete this; }
};

}  // namespace frt
