// Every plug-in module of the host: the start-up scan of the plug-ins folder, binding and
// checking each file, the registry of plug-ins switched on, look-ups, and unloading.
#pragma once

#include <list>

#include "host/Console.h"
#include "host/PlugRecord.h"
#include "host/PlugsHooks.h"
#include "host/PlugsListener.h"
#include "lib/CriticalSection.h"
#include "lib/String.h"
#include "platform/win32.h"
#include "platform/win32_guard.h"
#include "sdk/SdkFunctions.h"

class Client;
class PlugsObject;

typedef std::list<PlugRecord> PlugList;

class PlugsManagers : public PlugsListener, public PlugUnloader {
 public:
  // table: the host's services handed to every plug-in (kept, not copied). settingsFile: the
  // host settings file holding the registry; hooks may be null.
  PlugsManagers(SdkFunctions* table, const char* settingsFile = ".\\Vornith.ini",
                PlugsHooks* hooks = nullptr);
  virtual ~PlugsManagers();
  PlugsManagers(const PlugsManagers&) = delete;
  PlugsManagers& operator=(const PlugsManagers&) = delete;

  void lock() { section_.enter(); }
  void unlock() { section_.leave(); }

  void readRegistry();
  void writeRegistry();
  const char* registryText() const { return registry_.text(); }

  void loadAll(const char* directory);
  void scanDirectory(PlugList& list, int kind, const char* pattern);
  bool loadPlugFile(PlugRecord& record, int kind, const char* path, bool firstLoad);
  void unloadAll();

  PlugRecord* findPlug(const char* name, int kind);
  Client* findClientOfSession(PlugsObject* session);
  const char* plugNameOfSession(PlugsObject* session);
  // The list of one kind; null for an unknown kind.
  PlugList* plugList(int kind);

  // Opens the manager window; its pages are refreshed under the lock.
  void showWindow();
  PlugsHooks* hooks() const { return hooks_; }

  void onSetupClose() override {}
  bool unloadPlug(PlugRecord* record) override;
  bool loadPlug(PlugRecord* record) override;
  // A plug-in that faulted: the report's way back to the record.
  bool unloadPlug(FaultyPlug* plug) override;

  // Replaces the file of the installed plug-in of newFile's name, carrying its sessions' state
  // over; a file of an unknown name is installed instead. Progress goes to the console.
  void updatePlug(const char* newFile);
  // Copies newFile into the plug-ins folder and loads it as a new plug-in.
  void installPlug(const char* newFile);

  // Runs call (plug-in code of record) under the guard; a throw or fault shows the
  // critical-error box naming method, then unloads the plug-in when unload is set.
  template <typename Call>
  bool callPlug(PlugRecord* record, const char* method, bool unload, Call&& call) {
    if (guardedCall(call)) return true;
    reportPluginCriticalError(record, method, unload, this);
    return false;
  }

 private:
  bool bindPlug(PlugRecord& record, HMODULE module, int kind, const char* path, bool firstLoad);
  void forget(PlugRecord& record);
  bool refuse(HMODULE module, const char* format, const char* path, const char* line2);
  void registryState(PlugRecord& record);
  void printFound(const PlugRecord& record, VornithPlugsFactory* factory);
  void termAndFree(PlugRecord& record);
  PlugRecord* walkSessions(PlugsObject* session, SessionNode** found);

  CriticalSection section_;
  PlugList system_;
  PlugList main_;
  PlugList inOut_;
  PlugList addins_;
  String registry_;
  char directory_[PlugRecord::kFileSize] = {};
  SdkFunctions* table_;
  char* settingsFile_;
  PlugsHooks* hooks_;
  PlugsHooks noHooks_;
};
