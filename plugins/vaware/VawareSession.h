// The alert add-in's session of one client: a tell from someone else, or a public line with
// a watched word, raises the pop-up near a corner of the screen and a wave sound. Each client
// keeps its own options and words in its plug-in settings.
#pragma once

#include "plugins/SettingsForm/AlertOptions.h"
#include "plugins/SettingsForm/SettingsStore.h"
#include "plugins/vaware/AlertPopup.h"
#include "sdk/PlugsAddinSession.h"

class VawareSession : public PlugsAddinSession {
 public:
  explicit VawareSession(const char* clientName);

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
  void restore(void*, int) override {}
  void onUserEvent(const char* fromPlug, const char* type, void* data) override;
  int onRequest(const char* fromPlug, char* answer, int answerSize, const char* request,
                void* argument) override;
  bool onEvent(int lineNo, const char* eventName, EventData* data, bool interceptedSoFar) override;

  // The session's own operations, in the order of the virtual table.
  virtual void showAlert(const char* text, unsigned baseDelayMs, const char* soundFile);
  virtual bool containsWord(const char* text, const char* word);

  AlertOptions& options() { return options_; }
  AlertPopup& popup() { return popup_; }

 private:
  bool isOwnNick(const char* nick);
  void onWordLine(const EventData& data);
  bool isFullScreen() const;

  AlertOptions options_;
  HWND setupForm_ = nullptr;  // this session's page of the settings form
  ClientSettingsStore store_;
  AlertPopup popup_;
};
