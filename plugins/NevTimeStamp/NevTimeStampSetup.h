// NevTimeStamp's one setting per client (how received time stamps are treated) and the setup
// page where the user picks it among three mutually exclusive check buttons.
#pragma once

#include "lib/Button.h"
#include "lib/ExistWindow.h"
#include "lib/Frame.h"
#include "lib/Label.h"
#include "lib/Line.h"
#include "platform/win32.h"

class PlugsSession;
class NevTimeStampSetup;

// A check button of the page that hands its clicks to the page.
class StampChoiceButton : public CheckBoxButton {
 public:
  StampChoiceButton(const char* text, NevTimeStampSetup* owner, int state)
      : CheckBoxButton(text), owner(owner), state(state) {}
  void onClick() override;

 private:
  NevTimeStampSetup* owner;
  int state;
};

class NevTimeStampSetup {
 public:
  enum State { KeepServerStamp = 0, LocalStamp = 1, NoStamp = 2 };

  NevTimeStampSetup() = default;
  ~NevTimeStampSetup();
  NevTimeStampSetup(const NevTimeStampSetup&) = delete;
  NevTimeStampSetup& operator=(const NevTimeStampSetup&) = delete;

  void setSession(PlugsSession* owner) { session = owner; }
  void readSetup();
  void writeSetup();
  void create(HWND parent);
  void onSetupOpen();
  void onSetupClose();
  // Checks the button of that state and clears the other two.
  void choose(int chosen);

  int state = LocalStamp;
  // Page controls, reachable for the tests; null until the page is made.
  StampChoiceButton* buttons[3] = {};
  bool hasPage() const { return page != nullptr; }

 private:
  void destroyPage();

  PlugsSession* session = nullptr;
  ExistWindow* page = nullptr;
  Frame frame{"Global NevTimeStamp Setup"};
  Line line{"Global Line", true};
  Label filler{"", false};
};
