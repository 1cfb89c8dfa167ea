// The tell add-in's session of one client: private messages ("tells") move out of the main
// chat window into one system tab per partner, kept up to date by the server's events.
#pragma once

#include "lib/String.h"
#include "plugins/NevStyle/DeferredCalls.h"
#include "plugins/NevStyle/EmoticonPictures.h"
#include "plugins/NevStyle/PeerBoundNotice.h"
#include "plugins/NevTell/NevTellSetupPage.h"
#include "plugins/NevTell/TellTabMap.h"
#include "sdk/PlugsAddinSession.h"

class NevTellTab;

class NevTellSession : public PlugsAddinSession {
 public:
  // A peer's tell opens a tab only while fewer are open: each tab costs windows and memory,
  // and any peer can send tells under as many nicks as it likes.
  static constexpr int MaxPeerTabs = 200;

  explicit NevTellSession(const char* clientName);
  ~NevTellSession() override;
  NevTellSession(const NevTellSession&) = delete;
  NevTellSession& operator=(const NevTellSession&) = delete;

  void init() override;
  void term() override;
  bool hasSetupWindow() override { return true; }
  void createSetupWindow(HWND parent) override;
  void writeSetup() override;
  void reloadSetup() override;
  void onSetupOpen() override;
  void onSetupClose() override;
  void onUserEvent(const char* fromPlug, const char* type, void* data) override;
  int onRequest(const char* fromPlug, char* answer, int answerSize, const char* request,
                void* argument) override;
  void onSystemEvent(int id, EventData* data) override;
  bool onEvent(int lineNo, const char* eventName, EventData* data, bool interceptedSoFar) override;

  // The session's own operations, in the order of the virtual table.
  virtual void resetOwnState();
  virtual const char* getOwnLogin();
  // The nick's tab; made (and entered) when there is none and create is set, else null.
  virtual NevTellTab* getTab(const char* nick, bool create);
  // Takes the nick's tab out at once and deletes it once the current handler returned.
  virtual void closeTab(const char* nick);

  NevTellSetupPage& getSettings() { return settings; }
  bool isAway() const { return away != 0; }
  int tabCount() const { return tabs.count(); }
  const EmoticonPictures& pictures() const { return bitmaps; }
  // Runs the deletions of closed tabs now (tests; the message loop does it otherwise).
  void runDeferred() { deferred.runPending(); }

 private:
  bool dispatch(int id, const char* time, const char* line, const EventData& data);
  // The tab for a peer's tell, or null when none may open (the chat window shows the tell).
  NevTellTab* tabForPeer(const char* nick);
  void onWhoLine(const EventData& data);
  void forEachTab(void (NevTellTab::*apply)());
  void deleteClosed(NevTellTab* tab);
  void deleteTabs();

  NevTellSetupPage settings;
  unsigned char away = 0;
  String ownLogin;
  TellTabMap tabs;
  EmoticonPictures bitmaps;
  DeferredCalls deferred;
  PeerBoundNotice boundNotice;
};
