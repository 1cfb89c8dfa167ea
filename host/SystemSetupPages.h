// The "System Plugins" setup window as the system plug-ins session uses it: one page per
// system session that has a setup window, registered under the plug-in's name.
#pragma once

#include "host/PlugsListener.h"
#include "platform/win32.h"

class SystemSetupPages {
 public:
  // Makes a page named name; returns its identifier (0 when none was made) and its window.
  virtual int addPage(const char* name, HWND* window) = 0;
  virtual void removePage(int page) = 0;
  virtual void removeAllPages() = 0;
  // The listener told when the window closes.
  virtual void setListener(PlugsListener* listener) = 0;
  virtual void open() = 0;

 protected:
  ~SystemSetupPages() = default;
};
