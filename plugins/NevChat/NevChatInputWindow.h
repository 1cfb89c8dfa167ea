// The input line of a NevChat session: a history edit that sends typed lines, runs the slash
// commands, completes nicks and can capture the next line as the saved login or password.
#pragma once

#include <string>

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
  // One nick more at the end of the list (an arrival).
  void addNickWord(const char* nick);
  // The next line entered is also stored into target (null: none).
  void captureNext(String* target);
  void runCommand(const char* line);
  bool onEnter() override;
  String* captureTarget() const { return capture; }
  // The nicks sorted for completion.
  const char* nickWords();
  void complete() override;

 private:
  void syntaxError(const char* command, const char* syntax);
  void runMine(const char* rest);
  void print(const char* format, ...) VORN_PRINTF(2, 3);

  // Sorts the words when nicks came since the last sort.
  void sortWords();

  NevChatSession* session = nullptr;
  String* capture = nullptr;
  // The nicks in the list's order; sorted into `words` only when completion or a reader needs
  // them, so a flood of arrivals costs no sort each.
  std::string unsorted;
  bool sorted = true;
  String words;
  InputFont font;
};
