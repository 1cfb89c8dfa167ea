// The NevTimeStamp session of one client: rewrites the time stamp of every received line
// (keeps the server's, puts the local time in its place, or removes it) and turns a leading
// bell into a system beep. Sent text passes unchanged.
#pragma once

#include <string>

#include "lib/RegExpr.h"
#include "plugins/NevTimeStamp/NevTimeStampSetup.h"
#include "sdk/PlugsInOutSession.h"

class NevTimeStampSession : public PlugsInOutSession {
 public:
  explicit NevTimeStampSession(const char* clientName);
  ~NevTimeStampSession() override;

  void init() override;
  void term() override;
  bool hasSetupWindow() override { return true; }
  void createSetupWindow(HWND parent) override { setup.create(parent); }
  void writeSetup() override { setup.writeSetup(); }
  void reloadSetup() override { setup.readSetup(); }
  void onSetupOpen() override { setup.onSetupOpen(); }
  void onSetupClose() override { setup.onSetupClose(); }
  // The result stays valid until the next call.
  const char* onReceivedData(const char* text) override;
  const char* onDataToSend(const char* text) override;

  // Appends one line of length bytes (its line feed included, if any) to the output as the
  // setting says.
  virtual void formatLine(const char* line, size_t length);

  NevTimeStampSetup& getSetup() { return setup; }

 private:
  // Whether the line begins with a server stamp "HH:MM:SS ".
  bool hasServerStamp(const char* text, size_t length);
  void appendLocalStamp();

  RegExpr stamp;
  bool compiled = false;
  std::string output;
  NevTimeStampSetup setup;
};
