// NevLine's settings of one client (whether sent tabs become spaces, and how wide a tab is)
// and the setup page that shows them.
#pragma once

#include "lib/Button.h"
#include "lib/ExistWindow.h"
#include "lib/Frame.h"
#include "lib/Label.h"
#include "lib/Line.h"
#include "lib/SimpleEdit.h"
#include "platform/win32.h"

class PlugsSession;

// The tab-size edit: Enter keeps the number (a plain edit would empty itself).
class TabSizeZone : public SimpleEdit {
 public:
  explicit TabSizeZone(const char* name) : SimpleEdit(name) {}
  bool onEnter() override { return true; }
};

class NevLineSetup {
 public:
  NevLineSetup() = default;
  ~NevLineSetup();
  NevLineSetup(const NevLineSetup&) = delete;
  NevLineSetup& operator=(const NevLineSetup&) = delete;

  // A tab width the expansion can use: up to 0 gives 4, above 16 gives 16.
  static int clampTabSize(int size);

  void setSession(PlugsSession* owner) { session = owner; }
  void readSetup();
  void writeSetup();
  void create(HWND parent);
  void onSetupOpen();
  void onSetupClose();

  bool tab2Space = true;
  int tabSize = 4;
  // Page controls, reachable for the tests; null until the page is made.
  CheckBoxButton* convertBox = nullptr;
  TabSizeZone* sizeZone = nullptr;
  bool hasPage() const { return page != nullptr; }

 private:
  void destroyPage();

  PlugsSession* session = nullptr;
  ExistWindow* page = nullptr;
  Frame frame{"Global NevTell Setup"};
  Line line{"Global Line", true};
  Line sizeLine{"Line to setup the numbers of spaces", false};
  Label sizeLabel{"Tab size:", false};
  Label fillers[2] = {{"", false}, {"", false}};
};
