// NevChat's settings of one client (login, scrambled password, quit message, region sizes and
// nine flags) and the setup page the host shows for them.
#pragma once

#include "lib/String.h"
#include "platform/win32.h"

class NevChatSession;

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

  // Private members follow (owned by the settings' implementation).
};
