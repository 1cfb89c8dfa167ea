// The nick list of a NevChat session: one line per user (client, status, nick), kept in the
// server's order by who listings, with the pop-up menu of requests and commands on a nick.
#pragma once

#include <string>

#include "lib/Font.h"
#include "lib/Menu.h"
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
  // Menu command ids. "Query" cannot use 0, which a pop-up menu reports when nothing was chosen.
  enum {
    QueryItem = 100,
    PingItem = 1,
    VersionItem = 2,
    FullVersionItem = 3,
    SendFileItem = 4,
    WhiteBoardItem = 5,
    MineDuelItem = 6,
    ListenItem = 8,
    BeepItem = 9,
    FingerItem = 10,
    InviteItem = 11,
    BumpItem = 12,
    KickItem = 13,
  };

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
  // The marked line (-1: none) and the entry it shows.
  int markedLine() const { return marked; }
  NickEntry* markedEntry() const { return markedNick; }
  // The nicks joined by single blanks, as last drawn.
  const char* nickWords() const { return words.c_str(); }
  Menu* getMenu() const { return menu; }

  void create() override;
  bool onMessage(const MSG& message) override;
  bool onCommand(int id) override;
  bool onMouseMove(int buttons, int x, int y) override;
  bool onMouseButton(int buttons, int x, int y, bool down) override;
  bool onDoubleClick(int buttons, int x, int y) override;

 protected:
  NickEntry* head = nullptr;

 private:
  NickEntry* find(const char* nick);
  NickEntry* entryAt(int line);
  void deleteEntry(NickEntry* entry);
  void refreshWords();
  void runCommand(int id, const char* nick);
  void enablePlugItems();
  COLORREF colour(const char* key);

  NevChatSession* session = nullptr;
  NevChatInputWindow* input = nullptr;
  NickEntry** cursor = nullptr;  // where the next who line goes; null outside a listing
  NickEntry* tail = nullptr;     // the last entry, or null when not known
  String current;                // the current channel
  std::string words;
  int marked = -1;
  NickEntry* markedNick = nullptr;
  String menuNick;  // the nick the open menu acts on
  Menu* menu = nullptr;
  Font* nicksFont = nullptr;
};
