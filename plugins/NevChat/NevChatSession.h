// The NevChat session of one client: turns the server's events into styled chat text, keeps
// the nick list and the own state, answers other clients' requests and keeps its settings.
#pragma once

#include "lib/List.h"
#include "lib/String.h"
#include "platform/win32.h"
#include "plugins/NevChat/HistoryRecord.h"
#include "plugins/NevChat/PromptAnswerLimit.h"
#include "sdk/PlugsMainSession.h"

class NevChatSetupPage;
class NicksWindow;
class NevChatInputWindow;

class NevChatSession : public PlugsMainSession {
 public:
  explicit NevChatSession(const char* clientName);
  ~NevChatSession() override;
  NevChatSession(const NevChatSession&) = delete;
  NevChatSession& operator=(const NevChatSession&) = delete;

  // What the host calls (NevChatSession.cpp, NevChatEvents.cpp).
  void init() override;
  void term() override;
  bool hasSetupWindow() override;
  void createSetupWindow(HWND parent) override;
  void writeSetup() override;
  void reloadSetup() override;
  void onSetupOpen() override;
  void onSetupClose() override;
  int getBackupSizeNeeded() override;
  void backup(void* buffer, int size) override;
  void restore(void* buffer, int size) override;
  void onUserEvent(const char* fromPlug, const char* type, void* data) override;
  int onRequest(const char* fromPlug, char* answer, int answerSize, const char* request,
                void* argument) override;
  void onSystemEvent(int id, EventData* data) override;
  void onEvent(int lineNo, const char* eventName, EventData* data) override;

  // The session's own operations, in the order of the virtual table.
  virtual void resetState();
  virtual void freeHistory();
  // The style setters return the session so that colour, font and print chain.
  virtual NevChatSession* setTextFont(const char* name);
  virtual NevChatSession* setTextColor(const char* name);
  virtual NevChatSession* printStyled(const char* format, ...) VORN_PRINTF(2, 3);
  virtual void setBackground(const char* name);
  virtual void search(const char* text, bool forward);
  virtual void printText(const char* text);
  virtual void setTopic(const char* text);
  virtual void setChannel(const char* name);
  virtual void toggleNicks();
  virtual void toggleTopic();
  virtual void applyLayout();
  virtual void onColorChanged(const char* name);
  virtual void onFontChanged(const char* name);
  virtual void onCharTyped();
  virtual void requestWho();
  virtual void setGroup(const char* group);
  virtual void answerRequest(const char* nick, const char* data, const char* nevtime);
  virtual void onAcknowledge(const char* nick, const char* data, const char* nevtime);
  virtual void startKeepAlive();
  virtual void stopKeepAlive();
  // The output's text length in characters (a picture counts one), so each event's share of
  // the output can be found again by the search (NevChatWindows.cpp).
  virtual int outputLength();

  // The chat window (NevChatWindows.cpp): the colour and font keys, and the windows in the
  // "NevChat" system tab.
  void defineStyles();
  void buildWindows();
  void destroyWindows();
  // Copies the compass regions' current sizes into the settings, so sizes the user dragged
  // are written (NevChatWindows.cpp).
  void keepRegionSizes();
  // Marks the current search hit again in the colour that stands out from the background.
  void remarkSearchHit();
  // The chat window's parts (null before buildWindows).
  class RichEdit* getOutput();
  class RichEdit* getTopicWindow();
  class CompassContainer* getContainer();

  // State the windows and the tests read.
  NevChatSetupPage& getSettings() { return *settings; }
  NicksWindow* getNicks() { return nicks; }
  NevChatInputWindow* getInput() { return input; }
  bool isInputEnabled() const { return inputEnabled != 0; }
  bool isSendDataOk() const { return sendDataOk != 0; }
  bool isAway() const { return away != 0; }
  bool isHelpMode() const { return helpMode != 0; }
  int getWhoToSwallow() const { return whoToSwallow; }
  // One record per event that added text to the output, oldest first.
  List<HistoryRecord>& getSearchHistory() { return searchHistory; }

 private:
  NevChatSetupPage* settings = nullptr;
  NicksWindow* nicks = nullptr;
  NevChatInputWindow* input = nullptr;

  // Own state, in the order of the backup record.
  unsigned char reserved = 0;
  unsigned char helpMode = 0;
  unsigned char inputEnabled = 0;
  unsigned char sendDataOk = 0;
  unsigned char away = 0;
  int whoToSwallow = 0;
  unsigned char pendingNewline = 0;

  // Private members and helpers of each file, one block per file.
  // --- NevChatSession.cpp / NevChatEvents.cpp / NevChatRequests.cpp ---
  List<HistoryRecord> searchHistory{500};  // nodes come in blocks of 500
  String topicCopy;                // the topic as the topic window shows it, for the backup record
  String pluginName;               // scratch of answerRequest
  String* nickTrace = nullptr;     // tests: the nick-list updates as text lines
  PromptAnswerLimit loginAnswers;  // automatic answers to this connection's login prompts
  PromptAnswerLimit passwordAnswers;  // ... and to its password prompts

  NevChatSession* look(const char* colour, const char* font);
  void show(const char* colour, const char* font, const char* text);
  void showTime(const char* nevtime);
  void dispatch(int id, const char* text, const EventData& data);
  void onLoginPrompt(const char* text, String& saved, PromptAnswerLimit& answers, const char* what);
  void onLoginRefused(const char* text);
  void onLoggedIn(const char* text, const char* login);
  void onWhoLine(const char* text, const EventData& data);
  void onSentence(const char* text, const char* nick);
  void onPrivateData(const EventData& data);
  void changeTopic(const char* text);
  void traceNick(const char* what, const char* nick, const char* detail);
  void nickAdd(const char* nick);
  void nickRemove(const char* nick);
  void nickStatus(const char* nick, char status);
  void nickChannel(const char* nick, const char* channel);
  const char* currentChannel();
  void printRestoreFailure(const char* reason);
  void sendFullVersion(const char* nick);

  // --- NevChatWindows.cpp / NevChatSearch.cpp ---
  HWND tab = nullptr;
  class ExistWindow* tabWindow = nullptr;
  class CompassContainer* container = nullptr;
  class RichEdit* output = nullptr;
  class RichEdit* topicWindow = nullptr;
  class Font* topicFont = nullptr;
  class StyledOutput* styled = nullptr;
  class OutputSearch* finder = nullptr;
  void watchKeys(class Window* window);
  bool onSessionKey(class Window* window, int key);
  static bool windowHook(class Window* window, const MSG& message);
  void markHit(bool on);
  // The oldest lines left the output: the history and the search follow.
  void onOutputTrimmed(int removed);
  long long trimmedChars = 0;  // characters ever removed from the output's top

  // Tests reach the private state through this.
  friend class NevChatTestAccess;
};
