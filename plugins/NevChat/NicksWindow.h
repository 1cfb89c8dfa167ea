// The nick list of a NevChat session: one line per user (client, status, nick), kept in the
// server's order by who listings, with the pop-up menu of requests and commands on a nick.
#pragma once

#include "lib/RichEdit.h"
#include "lib/String.h"
#include "platform/win32.h"

class NevChatSession;
class NevChatInputWindow;

struct NickEntry {
  char* nick = nullptr;
  char* channel = nullptr;
  char client = '?';
  char status = '?';
  uint32_t pingTime = 0;  // GetTickCount of the last "Ping" sent to the nick
  NickEntry* next = nullptr;
};

class NicksWindow : public RichEdit {
 public:
  NicksWindow();
  ~NicksWindow() override;

  // Builds the menu.
  void attach(NevChatSession* session, NevChatInputWindow* input);
  // Items 1-3 (the client-to-client requests).
  void enableRequests(bool on);
  void addNick(const char* nick);
  void removeNick(const char* nick);
  void setStatus(const char* nick, char status);
  void setNickChannel(const char* nick, const char* channel);
  bool contains(const char* nick);
  uint32_t pingTime(const char* nick);
  void setPingTime(const char* nick, uint32_t time);
  void setChannel(const char* name);
  const char* channel();
  void beginWho();
  void whoLine(const char* nick, char client, char status, const char* channel);
  void endWho();
  void redraw();
  void drawEntry(NickEntry* entry);
  void mark(POINT point);
  void unmark();
  void query(const char* nick);
  NickEntry* first() { return head; }

 protected:
  NickEntry* head = nullptr;
  // Private members follow (owned by the window's implementation).
};
