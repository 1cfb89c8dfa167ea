// One named connection profile of the host (a section of Vornith.ini): its connection, events,
// plug-in sessions, colours and fonts, setup window, popup menu and log.
#pragma once

#include <memory>

#include "host/ButtonListener.h"
#include "host/ClientConnection.h"
#include "host/EventData.h"
#include "host/EventList.h"
#include "host/PlugsListener.h"
#include "host/SessionRecord.h"
#include "lib/FileLog.h"
#include "lib/HashTable.h"
#include "lib/IniFile.h"
#include "lib/List.h"
#include "lib/Menu.h"
#include "lib/String.h"
#include "platform/win32.h"
#include "sdk/EventData.h"
#include "sdk/SdkFunctions.h"

class ClientSetupPages;
class ColorSetting;
class FontSetting;
class PlugRecord;
struct SessionNode;
class PlugsListDialog;
class PlugsObject;
class SetupWindow;
class UserWindow;
class ListView;
class SimpleEdit;
class Label;

class Client : public PlugsListener, public ButtonListener {
 public:
  // Construction and lifecycle (ClientLifecycle.cpp).
  explicit Client(const char* sectionName);
  virtual ~Client();
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  const char* getName() const { return name; }
  void init();
  // Asks the receive thread to stop without waiting for it; term then joins it.
  void stopReceiving();
  void term();
  void readConfig();
  void writeConfig();
  void reloadPlugsSetup();
  void writePlugsSetup();
  ClientConnection& getConnection() { return connection; }
  EventList& getEvents() { return events; }
  IniFile& getPlugsIni() { return plugsIni; }
  IniFile& getHostIni() { return hostIni; }
  FileLog& getLog() { return log; }

  // Data path (ClientDataPath.cpp); GUI thread only.
  void onTryConnect(const char* host, int port);
  void onConnected(const char* host, int port);
  void onConnectionClosed();
  void onSocketData(const char* bytes, int count);
  void onSocketError(const char* text);
  void sendData(const char* text);
  void sendSystemEvent(int id, EventData* data);
  void sendQuitEvent();
  void filterReceivedData();
  void analyseLine(const char* line);
  int getLineCount() const { return lineCount; }

  // Plug-in sessions (ClientSessions.cpp).
  void createSessions();
  void initSessions();
  void deleteSessions();
  void addPlug(PlugRecord* record);
  void removePlug(PlugRecord* record);
  bool loadPlug(PlugRecord* record) override;
  bool unloadPlug(PlugRecord* record) override;
  // groupPage (may be null) receives the setup tree's group page id of the record's kind.
  SessionRecord* findSessionRecord(PlugRecord* record, int* groupPage);
  // "@" names the main plug-in.
  SessionRecord* findSession(const char* plugName);
  bool hasPlug(const char* plugName);
  const char* buildPlugsList();
  void SendEvent(PlugsObject* from, const char* to, const char* type, void* data);
  int SendRequest(PlugsObject* from, const char* to, char* answer, int answerSize,
                  const char* request, void* argument);
  SessionRecord& getMainRecord() { return mainRecord; }
  List<SessionRecord*>& getAddins() { return addins; }
  List<SessionRecord*>& getInOuts() { return inOuts; }

  // Colours and fonts (ClientSettings.cpp).
  void defineColor(const char* name, const char* label, int r, int g, int b);
  COLORREF getColor(const char* name);
  void setColor(const char* name, int r, int g, int b);
  void defineFont(const char* name, const char* label, const char* face, int size, int style);
  FontRecord getFont(const char* name);
  void setFont(const char* name, const char* face, int size, int style);
  // The setup window's buttons: let the user pick the selected setting's value.
  void chooseColor(const char* name);
  void chooseFont(const char* name);
  HashTable<ColorSetting*>& getColors() { return colors; }
  HashTable<FontSetting*>& getFonts() { return fonts; }

  // Setup window and popup menu (ClientSetup.cpp, ClientMenu.cpp).
  void buildMenu();
  bool ownsCommandId(int id) const;
  void onMenuCommand(int id);
  void setupInit();
  void showSetup();
  void onSetupClose() override;
  void setupTerm();
  void onButton(int id) override;
  Menu& getPopupMenu() { return popupMenu; }
  SetupWindow* getSetupWindow() { return setupWindow; }
  PlugsListDialog* getPlugsListDialog() { return plugsListDialog; }

 private:
  // Members in the order they are built.
  IniFile plugsIni;
  IniFile hostIni;
  ClientConnection connection;
  EventList events;
  char* name = nullptr;
  SetupWindow* setupWindow = nullptr;
  String eventsFile;

  // Data path state, reused from line to line.
  int lineCount = 0;
  String receiveBuffer;
  String currentLine;
  String analysedLine;
  String sendBuffer;
  EventRecord matchData;
  bool inDataPath = false;

  int firstCommandId = 0;
  Menu popupMenu{false};
  int mainPage = 0;
  int addinsPage = 0;
  int inOutPage = 0;

  SessionRecord mainRecord;
  List<SessionRecord*> addins;
  List<SessionRecord*> inOuts;
  String plugsListText;
  PlugsListDialog* plugsListDialog = nullptr;

  HashTable<ColorSetting*> colors;
  HashTable<FontSetting*> fonts;
  bool autoconnect = false;
  FileLog log;

  // Setup window controls (ClientSetup.cpp): made with the pages when the setup is first shown
  // after the init step, gone at the term step; null outside that span.
  ListView* serverList = nullptr;
  SimpleEdit* serverEdit = nullptr;
  SimpleEdit* portEdit = nullptr;
  Label* defaultServerLabel = nullptr;
  ListView* colorList = nullptr;
  ListView* fontList = nullptr;
  // Private helpers of each file are declared below, one block per file.
  // --- ClientLifecycle.cpp ---
  void freeRecords(List<SessionRecord*>& records);
  void writeRecordNames(const char* key, List<SessionRecord*>& records);
  // Calls reloadSetup or writeSetup on every session (main, add-ins, in/out).
  void callSetupOfSessions(const char* method, void (PlugsObject::*operation)());
  // --- ClientDataPath.cpp ---
  // A request of the receive thread that came while the data path ran (a nested message loop
  // dispatched it); handled in order once the running call returns.
  struct PendingRequest {
    int kind;
    char* text;  // owned
    int value;
    ~PendingRequest() { delete[] text; }
  };
  List<PendingRequest*> pendingRequests;
  String eventName;  // the matched event's name, kept while the plug-ins see it
  int sendDepth = 0;
  // One loop pass handles a bounded share of what was received: the rest of a chunk, and the
  // requests that came after it, wait in order for a later pass (a timer brings it).
  int receiveAt = 0;         // where the unfinished chunk's next line starts in receiveBuffer
  long long stepEnd = 0;     // steady-clock microseconds at which this pass's share is spent
  int stepLinesLeft = 0;
  UINT_PTR backlogTimer = 0;
  static int stepLines;  // a pass's share: so many lines, or so much time
  static int stepMilliseconds;
  // Marks the data path as running; true for the outermost call, which must leave it.
  bool enterDataPath();
  void leaveDataPath();
  bool hasBacklog() const;
  void beginStep();
  bool stepSpent() const;
  void runBacklog();
  void scheduleBacklog();
  // Frees what waits, unhandled: the client is going away.
  void dropBacklog();
  void continueBacklog();
  static void CALLBACK backlogTimerFired(HWND, UINT, UINT_PTR id, DWORD);
  void queueRequest(int kind, const char* text, int value);
  void runPending(PendingRequest* request);
  void receiveChunk(const char* bytes, int count);
  void cutLines();
  void finishChunk();
  void tryConnect(const char* host, int port);
  void connected(const char* host, int port);
  void connectionClosed();
  void socketError(const char* text);
  bool dispatchEvent(const char* event);
  void runSendRoad(String& buffer);
  const char* shownName() const { return name ? name : "(null)"; }
  // Walks the records that have a session (re-read after each call: an unload nulls it).
  template <typename Fn>
  static void forEachSession(List<SessionRecord*>& records, bool backwards, Fn&& fn) {
    ListIteratorBase<SessionRecord*>* walk =
        backwards ? records.reverseIterator() : records.iterator();
    while (walk->hasNext()) {
      SessionRecord* record = walk->next();
      if (record && record->session) fn(record);
    }
    walk->reset();
  }
  // --- ClientSessions.cpp ---
  SessionRecord* makeRecord(PlugRecord* plug, PlugsObject* session);
  void createKind(const char* key, int kind, List<SessionRecord*>& list);
  void createMain();
  PlugsObject* newSessionOf(PlugRecord* plug);
  void initRecord(SessionRecord* record);
  void deleteRecordSession(SessionRecord* record);
  SessionNode* anyOwnNode(PlugRecord* plug);
  SessionNode* ownNodeHolding(PlugRecord* plug, PlugsObject* session);
  void dropNode(PlugRecord* plug, PlugsObject* session);
  SessionRecord* recordWith(PlugRecord* plug, bool withSession);
  void printRefusal(const char* prefix, const char* format, const char* first, const char* second);
  void addSetupPageOf(PlugRecord* plug, SessionNode* node, int groupPage);
  bool refuseAdd(PlugRecord* record);
  bool refuseRemove(PlugRecord* record);
  // Main, add-ins, then in/out records; stops when visit answers true.
  template <typename Visit>
  void forEachRecord(Visit&& visit);
  // --- ClientSettings.cpp ---
  int settingsDefined = 0;  // colours and fonts defined so far
  // Settings are keyed by the hash of their name; a collision is told apart by the name.
  ColorSetting* findColor(const char* name);
  FontSetting* findFont(const char* name);
  void deleteSettings();
  // --- ClientSetup.cpp / ClientMenu.cpp ---
  struct SetupPagesDeleter {
    void operator()(ClientSetupPages* pages) const;
  };
  std::unique_ptr<ClientSetupPages, SetupPagesDeleter> setupPages;
  bool setupWanted = false;  // between the setup's init and term steps
  void attachSetupPages(ClientSetupPages* pages);
  // Builds the setup window's pages (once per init step) and the plug-ins' pages under them.
  void buildSetup();
  void addSessionSetupPages(SessionRecord* record, int groupPage);
  void showDefaultServer(const char* host, int port);
  void addServerFromPage();
  bool selectedServer(String* host, int* port);
  void fillSettingLists();
  void chooseSelectedColor();
  void chooseSelectedFont();
  void killClient();
  void reloadEventsFile();
  // Tests reach the private state through this.
  friend class ClientTestAccess;
};
