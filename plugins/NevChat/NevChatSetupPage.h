// NevChat's settings of one client (login, scrambled password, quit message, region sizes and
// nine flags) and the setup page the host shows for them.
#pragma once

#include "lib/Button.h"
#include "lib/ExistWindow.h"
#include "lib/Label.h"
#include "lib/Line.h"
#include "lib/SimpleEdit.h"
#include "lib/String.h"
#include "lib/Tabs.h"
#include "platform/win32.h"

class NevChatSession;

// An edit zone of the setup page: Enter or Tab moves on to the next zone.
class SetupZone : public SimpleEdit {
 public:
  explicit SetupZone(const char* name) : SimpleEdit(name) {}
  bool onChar(int code) override;
  bool onEnter() override;
  void focusAll();
  // Its text into buffer (size bytes); the text's length.
  int readInto(char* buffer, int size);

  SetupZone* nextZone = nullptr;
};

class NevChatSetupPage {
 public:
  NevChatSetupPage();
  ~NevChatSetupPage();
  NevChatSetupPage(const NevChatSetupPage&) = delete;
  NevChatSetupPage& operator=(const NevChatSetupPage&) = delete;

  void setSession(NevChatSession* session);
  void readSetup();
  void writeSetup();
  void create(HWND parent);
  void onSetupOpen();
  void onSetupClose();

  String login;
  String password;
  String quitMessage;
  int inSize = 21;
  int topicSize = 21;
  int nicksSize = 110;
  unsigned char showTopic = 1;
  unsigned char showNicks = 1;
  unsigned char keepAlive = 0;
  unsigned char sockDefault = 0;
  unsigned char displayEmoticons = 1;
  unsigned char displayDoubleEmoticons = 1;
  unsigned char withEmptyLine = 0;
  unsigned char autoInfos = 0;
  unsigned char displayVReq = 0;

  // Page controls, reachable for the tests.
  SetupZone loginZone{"Login Zone"};
  SetupZone passwordZone{"Password Zone"};
  SetupZone quitZone{"QuitMsg Zone"};
  CheckBoxButton* checks[9] = {};
  bool hasPage() const { return page != nullptr; }

 private:
  unsigned char* flag(int index);
  void buildGlobal();
  void buildDisplay();
  void destroyPage();

  NevChatSession* session = nullptr;
  ExistWindow* page = nullptr;
  Tabs tabs{"Config Tabs", Tabs::TabsTop};
  Line globalLine{"Global Line", true};
  Line loginLine{"Login line", false};
  Line passwordLine{"Password line", false};
  Line quitLine{"Quit Message line", false};
  Label loginLabel{"Login :", false};
  Label passwordLabel{"Password :", false};
  Label quitLabel{"Quit Message :", false};
  Label globalFiller{"", false};
  Line displayLine{"Display line", true};
  Line displayRows[5] = {{"Display row", false},
                         {"Display row", false},
                         {"Display row", false},
                         {"Display row", false},
                         {"Display row", false}};
  Label displayFiller{"", false};
  char zoneText[1024] = {};
};
