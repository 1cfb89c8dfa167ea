// The system command line under the console: host commands ("/send", "/add", ...), lines
// offered to the system plug-ins, and a refusal on the console for anything else.
#pragma once

#include "lib/HistoryEdit.h"
#include "lib/String.h"

class Client;
class PlugRecord;
class SystemWindow;

class SystemInput : public HistoryEditEx {
 public:
  enum { CommandCount = 10 };

  // owner (may be null) answers the hot keys and shows or hides its menu bar.
  explicit SystemInput(SystemWindow* owner);

  bool onCreate() override;
  bool onKey(int key, bool down) override;
  bool onEnter() override;

  // Index of the line's first word (cut at the first space) in the command table, or -1.
  virtual int findCommand(const char* line);
  // Gives the command names to the completion of the line's first word.
  virtual void registerCommands();
  // The handlers; each gets the whole line.
  virtual void sendCommand(const char* line);
  virtual void showPlugInfo(int index, const char* line);
  virtual void updateCommand(const char* line);
  virtual void addCommand(const char* line);
  virtual void removeCommand(const char* line);

  static const char* commandName(int index);

 private:
  void runCommand(int index, const char* line);
  void printHelp();
  // The client and plug-in of an "/add" or "/remove" line; false after the refusal is printed.
  bool findClientAndPlug(const char* line, int index, const char* prefix, Client** client,
                         PlugRecord** record);
  bool readPlugInfo(PlugRecord* record, int index, float* version, const char** text);

  SystemWindow* owner;
  String work;
};
