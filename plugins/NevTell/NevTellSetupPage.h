// NevTell's eight settings of one client and the setup page the host shows for them.
#pragma once

#include "lib/Button.h"
#include "lib/ExistWindow.h"
#include "lib/Label.h"
#include "lib/Line.h"
#include "lib/Tabs.h"
#include "platform/win32.h"

class PlugsSession;

class NevTellSetupPage {
 public:
  enum { FlagCount = 8 };

  NevTellSetupPage() = default;
  ~NevTellSetupPage();
  NevTellSetupPage(const NevTellSetupPage&) = delete;
  NevTellSetupPage& operator=(const NevTellSetupPage&) = delete;

  void setSession(PlugsSession* owner) { session = owner; }
  void reloadSetup();
  void writeSetup();
  void create(HWND parent);
  void onSetupOpen();
  void onSetupClose();

  unsigned char intercept = 1;
  unsigned char displayEmoticons = 1;
  unsigned char displayDoubleEmoticons = 1;
  unsigned char withEmptyLine = 0;
  unsigned char displayTimestamp = 1;
  unsigned char interpretEmote = 1;
  unsigned char useSquareBracket = 0;
  unsigned char sendLater = 1;  // stored and shown only

  CheckBoxButton* checks[FlagCount] = {};
  bool hasPage() const { return page != nullptr; }

 private:
  unsigned char* flag(int index);
  void destroyPage();

  PlugsSession* session = nullptr;
  ExistWindow* page = nullptr;
  Tabs tabs{"Config Tabs", Tabs::TabsTop};
  Line globalLine{"Global Line", true};
  Line rows[4] = {{"Global row", false}, {"Global row", false}, {"Global row", false},
                  {"Global row", false}};
  Label filler{"", false};
};
