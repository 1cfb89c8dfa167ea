// One plug-in file the host found: its module and factory while loaded, its identity, and the
// sessions that clients (or the system plug-ins session) made of it.
#pragma once

#include "host/Console.h"
#include "platform/win32.h"
#include "sdk/VornithPlugsFactory.h"

class Client;
class PlugsObject;

enum PlugFlags : unsigned {
  PLUG_NEW = 1,      // not yet in the registry
  PLUG_LOADED = 2,   // module mapped, factory usable
  PLUG_SESSION = 4,  // the system session of a system plug-in is made
  PLUG_LISTED = 8,   // shown on its manager page
  PLUG_SYSTEM = 16,  // handled by the system plug-ins session
};

// One session of a plug-in; the client is null for the system session.
struct SessionNode {
  PlugsObject* session = nullptr;
  int setupPage = 0;
  Client* client = nullptr;
  SessionNode* prev = nullptr;
  SessionNode* next = nullptr;
};

class PlugRecord final : public FaultyPlug {
 public:
  static const int kNameSize = 128;
  static const int kFileSize = 256;

  PlugRecord() = default;
  ~PlugRecord();
  PlugRecord(const PlugRecord&) = delete;
  PlugRecord& operator=(const PlugRecord&) = delete;

  bool isLoaded() const { return (flags & PLUG_LOADED) != 0; }
  // New nodes go to the head.
  SessionNode* addSession(PlugsObject* session, Client* client);
  // Forgets the node holding session (not the session itself); false when none does.
  bool removeSession(PlugsObject* session);
  SessionNode* findSession(PlugsObject* session) const;
  void clearSessions();

  // The fault report asks the factory while there is one, else gives what the record knows.
  const char* plugName() override;
  const char* plugAuthor() override;

  unsigned flags = 0;
  HMODULE module = nullptr;
  int listItem = 0;
  int kind = 0;
  char name[kNameSize] = {};
  char file[kFileSize] = {};
  VornithPlugsFactory* factory = nullptr;
  SessionNode* sessions = nullptr;
};
