// The "System Plugins" setup window: one page per system plug-in session that has a setup
// window, each a top-level item of the tree named after its plug-in.
#pragma once

#include "host/SetupWindow.h"
#include "host/SystemSetupPages.h"

class SystemPluginsSetupWindow final : public SystemSetupPages {
 public:
  SystemPluginsSetupWindow();
  ~SystemPluginsSetupWindow() = default;
  SystemPluginsSetupWindow(const SystemPluginsSetupWindow&) = delete;
  SystemPluginsSetupWindow& operator=(const SystemPluginsSetupWindow&) = delete;

  // The identifier is the page's tree item.
  int addPage(const char* name, HWND* window) override;
  void removePage(int page) override;
  void removeAllPages() override;
  void setListener(PlugsListener* listener) override;
  void open() override;

  SetupWindow& getWindow() { return window; }

 private:
  bool ensureCreated();

  SetupWindow window;
};
