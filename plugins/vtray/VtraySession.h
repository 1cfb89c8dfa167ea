// The tray plug-in's single session: it follows the host's system window into and out of the
// notification area, and carries the alert options and words in the host's "System" settings
// with the same settings form as the alert add-in.
#pragma once

#include "plugins/SettingsForm/AlertOptions.h"
#include "plugins/SettingsForm/SettingsStore.h"
#include "plugins/vtray/TrayKeeper.h"
#include "sdk/PlugsSystemSession.h"

class VtraySession : public PlugsSystemSession {
 public:
  explicit VtraySession(const char* clientName);

  void init() override;
  void term() override;
  bool hasSetupWindow() override { return true; }
  void createSetupWindow(HWND parent) override;
  void writeSetup() override;
  void reloadSetup() override;
  void onSetupOpen() override;
  void onSetupClose() override;
  int getBackupSizeNeeded() override { return 4; }
  void backup(void* buffer, int size) override;
  int onRequest(const char*, char*, int, const char*, void*) override { return -1; }
  // Follows every message of the system window and never takes one.
  bool onWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  const char* onReceivedData(const char*, const char*) override { return nullptr; }
  const char* onDataToSend(const char*, const char*) override { return nullptr; }

  AlertOptions& options() { return options_; }
  TrayKeeper& tray() { return tray_; }

 private:
  AlertOptions options_;
  HWND setupForm_ = nullptr;  // this session's page of the settings form
  SystemSettingsStore store_;
  TrayKeeper tray_;
};
