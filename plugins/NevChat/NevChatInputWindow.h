// The input line of a NevChat session: a history edit that sends typed lines, runs the slash
// commands, completes nicks and can capture the next line as the saved login or password.
#pragma once

#include "lib/HistoryEdit.h"
#include "lib/String.h"
#include "platform/win32.h"
#include "plugins/NevStyle/InputFont.h"

class NevChatSession;

class NevChatInputWindow : public HistoryEditEx {
 public:
  NevChatInputWindow();
  ~NevChatInputWindow() override;

  void setSession(NevChatSession* session);
  void applyFont();
  void setNickWords(const char* text);
  // The next line entered is also stored into target (null: none).
  void captureNext(String* target);
  void runCommand(const char* line);
  bool onEnter() override;
  String* captureTarget() const { return capture; }
  const char* nickWords() const { return words.text(); }

 private:
  void syntaxError(const char* command, const char* syntax);
  void runMine(const char* rest);
  void print(const char* format, ...) VORN_PRINTF(2, 3);

  NevChatSession* session = nullptr;
  String* capture = nullptr;
  String words;
  InputFont font;
};
