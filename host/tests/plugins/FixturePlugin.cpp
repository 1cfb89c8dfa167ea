// A plug-in for the host's tests, built once per behaviour through compile definitions:
// FIXTURE_NAME, FIXTURE_KIND and FIXTURE_FAULT (FIXTURE_VERSION optional). It notes every call
// it receives in a journal that the tests read through fixtureJournal.
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "sdk/PlugsExports.h"
#include "sdk/PlugsMainSession.h"

#define FAULT_NONE 0
#define FAULT_VERSION 1
#define FAULT_HANDLERS 2
#define FAULT_NO_FACTORY 3
#define FAULT_INIT_THROWS 4
#define FAULT_NO_EXPORT 5
#define FAULT_OPERATION_THROWS 6
#define FAULT_OPERATION_NULL 7

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

class FixtureSession : public PlugsMainSession {
 public:
  explicit FixtureSession(const char* clientName)
      : PlugsMainSession(clientName), client_(clientName ? clientName : "") {}
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
