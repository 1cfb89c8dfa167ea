// The NevLine session of one client: received text is released in whole lines (the server's
// log-in and password prompts at once), sent text has its tabs expanded or removed and, when
// the main plug-in refuses peer data, loses its "senddata " lines.
#pragma once

#include <string>

#include "plugins/NevLine/NevLineSetup.h"
#include "sdk/PlugsInOutSession.h"

class NevLineSession : public PlugsInOutSession {
 public:
  // An unfinished tail longer than this is released as a line of its own.
  static constexpr size_t kMaxPending = 64 * 1024;

  explicit NevLineSession(const char* clientName);

  void init() override;
  void term() override;
  bool hasSetupWindow() override { return true; }
  void createSetupWindow(HWND parent) override { setup.create(parent); }
  void writeSetup() override { setup.writeSetup(); }
  void reloadSetup() override { setup.readSetup(); }
  void onSetupOpen() override { setup.onSetupOpen(); }
  void onSetupClose() override { setup.onSetupClose(); }
  void onSystemEvent(int id, EventData* data) override;
  // The results stay valid until the next call of the same side.
  const char* onReceivedData(const char* text) override;
  const char* onDataToSend(const char* text) override;

  NevLineSetup& getSetup() { return setup; }
  const std::string& getPending() const { return pending; }

 private:
  bool isPrompt() const;
  void expandTabs(const char* text);
  void removeTabs(const char* text);
  bool peerDataRefused();
  const char* withoutPeerLines();

  std::string pending;
  std::string output;
  std::string work;
  std::string sendOutput;
  NevLineSetup setup;
};
