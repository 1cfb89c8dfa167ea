// A plug-in for the host's tests, built once per behaviour through compile definitions:
// FIXTURE_NAME, FIXTURE_KIND and FIXTURE_FAULT (FIXTURE_VERSION optional). It notes every call
// it receives in a journal that the tests read through fixtureJournal.
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "sdk/PlugsExports.h"
#include "sdk/PlugsMainSession.h"
#include "sdk/PlugsSystemSession.h"

#define FAULT_NONE 0
#define FAULT_VERSION 1
#define FAULT_HANDLERS 2
#define FAULT_NO_FACTORY 3
#define FAULT_INIT_THROWS 4
#define FAULT_NO_EXPORT 5
#define FAULT_OPERATION_THROWS 6
#define FAULT_OPERATION_NULL 7
#define FAULT_SYSTEM_ECHO 8  // a system session that hands back the texts it is given

#if FIXTURE_KIND == 1
#define FIXTURE_SESSION_BASE PlugsSystemSession
#else
#define FIXTURE_SESSION_BASE PlugsMainSession
#endif

#ifndef FIXTURE_VERSION
#define FIXTURE_VERSION 1.25f
#endif

// Which backup call throws, as set by setFixtureBackup.
#define THROW_NONE 0
#define THROW_SIZE 1
#define THROW_BACKUP 2
#define THROW_RESTORE 3

namespace {

std::string journal;
int backupSize = 0;
int backupThrows = THROW_NONE;

#if FIXTURE_FAULT == FAULT_OPERATION_NULL
int* volatile nowhere = nullptr;
// A real fault, not a report from the undefined-behaviour checker.
__attribute__((no_sanitize("undefined"))) void writeNowhere() { *nowhere = 1; }
#endif

void note(const char* call) {
  if (!journal.empty()) journal += ' ';
  journal += call;
}

void noteCall(const std::string& call) { note(call.c_str()); }

class FixtureSession : public FIXTURE_SESSION_BASE {
 public:
  explicit FixtureSession(const char* clientName)
      : FIXTURE_SESSION_BASE(clientName), client_(clientName ? clientName : "") {}
  void init() override { noteCall(std::string("session.init(") + getClientName() + ")"); }
  void term() override { note("session.term"); }
  int getBackupSizeNeeded() override {
    note("getBackupSizeNeeded");
    if (backupThrows == THROW_SIZE) throw std::runtime_error("size");
    return backupSize;
  }
  // The state handed over: the client's name and the version that made it.
  void backup(void* buffer, int size) override {
    note("backup");
    if (backupThrows == THROW_BACKUP) throw std::runtime_error("backup");
    std::snprintf(static_cast<char*>(buffer), size, "%s@%.2f", client_.c_str(),
                  static_cast<double>(FIXTURE_VERSION));
  }
  void restore(void* buffer, int size) override {
    if (backupThrows == THROW_RESTORE) throw std::runtime_error("restore");
    const char* text = static_cast<const char*>(buffer);
    note(("restore(" + client_ + "<-" + std::string(text, strnlen(text, size)) + ")").c_str());
  }
  void onSetupOpen() override {
    note("onSetupOpen");
#if FIXTURE_FAULT == FAULT_OPERATION_THROWS
    throw std::runtime_error("operation");
#elif FIXTURE_FAULT == FAULT_OPERATION_NULL
    writeNowhere();
#endif
  }
#if FIXTURE_KIND == 1
  // Journals each hook as name(arguments); the text hooks append "+" and the plug-in's name.
  bool onWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM) override {
    noteCall("onWindowMessage(" + std::to_string(message) + "," + std::to_string(wParam) + ")");
    return message == 1;
  }
  bool onCheckKeyPressed(int key) override {
    noteCall("onCheckKeyPressed(" + std::to_string(key) + ")");
    return key == 1;
  }
  void onNewClient(const char* clientName) override {
    noteCall(std::string("onNewClient(") + clientName + ")");
  }
  void onSystemEvent(const char* clientName, int id, EventData* data) override {
    noteCall(std::string("onSystemEvent(") + clientName + "," + std::to_string(id) + "," +
             data->getText() + ")");
  }
  const char* onReceivedData(const char* clientName, const char* text) override {
    noteCall(std::string("onReceivedData(") + clientName + "," + text + ")");
    return changed(text);
  }
  bool onEvent(const char* clientName, int lineNo, const char* eventName,
               EventData* data) override {
    noteCall(std::string("onEvent(") + clientName + "," + std::to_string(lineNo) + "," + eventName +
             "," + data->getValue("nick") + ")");
    return FIXTURE_FAULT == FAULT_SYSTEM_ECHO;
  }
  const char* onDataToSend(const char* clientName, const char* text) override {
    noteCall(std::string("onDataToSend(") + clientName + "," + text + ")");
    return changed(text);
  }
  bool onCommandLine(const char* line) override {
    noteCall(std::string("onCommandLine(") + line + ")");
    return std::string(line) == "take";
  }

 private:
  const char* changed(const char* text) {
    (void)text;
#if FIXTURE_FAULT == FAULT_OPERATION_THROWS
    throw std::runtime_error("text hook");
#elif FIXTURE_FAULT == FAULT_SYSTEM_ECHO
    return text;
#else
    reply = std::string(text) + "+" + FIXTURE_NAME;
    return reply.c_str();
#endif
  }
  std::string reply;
#endif

 private:
  std::string client_;
};

class FixtureFactory : public VornithPlugsFactory {
 public:
  int init() override {
    note("init");
#if FIXTURE_FAULT == FAULT_INIT_THROWS
    throw std::runtime_error("init");
#endif
    return 1;
  }
  void term() override { note("term"); }
  const char* name() override { return FIXTURE_NAME; }
  float version() override { return FIXTURE_VERSION; }
  int kind() override { return FIXTURE_KIND; }
  const char* author() override { return "Fixture Maker"; }
  const char* shortDescription() override { return "test fixture"; }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    note("newSession");
    return plugsNewSession<FixtureSession>(clientName);
  }
  void deleteSession(PlugsObject* session) override {
    note("deleteSession");
    plugsDeleteSession(session);
  }
};

FixtureFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORT_ATTR const char* fixtureJournal() { return journal.c_str(); }
VORNITH_PLUGIN_EXPORT_ATTR void clearFixtureJournal() { journal.clear(); }
VORNITH_PLUGIN_EXPORT_ATTR void setFixtureBackup(int size, int throwing) {
  backupSize = size;
  backupThrows = throwing;
}

VORNITH_PLUGIN_EXPORT_ATTR float LibVersion() {
  note("LibVersion");
  return FIXTURE_FAULT == FAULT_VERSION ? 1.0f : plugsLibVersion();
}

VORNITH_PLUGIN_EXPORT_ATTR bool SetHandlers(SdkFunctions* table) {
  note("SetHandlers");
  return FIXTURE_FAULT != FAULT_HANDLERS && plugsSetHandlers(table, kSdkFunctionsFullSize);
}

#if FIXTURE_FAULT != FAULT_NO_EXPORT
VORNITH_PLUGIN_EXPORT_ATTR VornithPlugsFactory* GetPlugsFactory() {
  note("GetPlugsFactory");
  return FIXTURE_FAULT == FAULT_NO_FACTORY ? nullptr : plugsGetFactory();
}
#endif
