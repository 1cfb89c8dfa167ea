// The game's sample setup page: two check boxes kept as settings of the client.
#pragma once

#include "lib/Button.h"
#include "lib/ExistWindow.h"
#include "lib/Label.h"
#include "lib/Line.h"
#include "lib/Tabs.h"

class PlugsSession;

class MineDuelSetupPage {
 public:
  MineDuelSetupPage() = default;
  ~MineDuelSetupPage();
  MineDuelSetupPage(const MineDuelSetupPage&) = delete;
  MineDuelSetupPage& operator=(const MineDuelSetupPage&) = delete;

  void setSession(PlugsSession* owner) { session = owner; }
  void reloadSetup();
  void writeSetup();
  void create(HWND parent);
  void onSetupOpen();
  void onSetupClose();

  unsigned char sample1 = 1;
  unsigned char sample2 = 0;

 private:
  void destroyPage();

  PlugsSession* session = nullptr;
  ExistWindow* page = nullptr;
  Tabs tabs{"Config Tabs", Tabs::TabsTop};
  Line globalLine{"Global Line", true};
  CheckBoxButton* first = nullptr;
  CheckBoxButton* second = nullptr;
  Label filler{"", false};
};
