// The "Plugins Manager..." window: a setup window with one manager page per plug-in kind,
// refreshed by the plug-ins managers after their scans and each time the window opens.
#pragma once

#include "host/PluginsManagerPage.h"
#include "host/PlugsHooks.h"
#include "host/SetupWindow.h"

class PlugsManagers;

class PlugsManagerWindow : public PlugsHooks {
 public:
  // managers may be null: the host's plug-ins managers are used then.
  explicit PlugsManagerWindow(PlugsManagers* managers = nullptr);
  ~PlugsManagerWindow() override;
  PlugsManagerWindow(const PlugsManagerWindow&) = delete;
  PlugsManagerWindow& operator=(const PlugsManagerWindow&) = delete;

  void setManagers(PlugsManagers* managers);
  // Lists the new plug-ins of that kind on its page.
  void refreshPage(int kind) override;
  // Every page's boxes show the loaded plug-ins, then the window opens.
  void showManagerWindow() override;

  SetupWindow& getWindow() { return window; }
  // The page of a kind; null for an unknown kind.
  PluginsManagerPage* getPage(int kind);

 private:
  PlugsManagers* currentManagers() const;
  // Makes the window and its pages once, and hands every page its owner and list.
  bool prepare();

  PlugsManagers* managers;
  SetupWindow window;
  PluginsManagerPage systemPage;
  PluginsManagerPage mainPage;
  PluginsManagerPage inOutPage;
  PluginsManagerPage addinsPage;
  bool built = false;
};
