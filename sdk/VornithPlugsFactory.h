// The factory a plug-in module exposes to the host: its identity, its kind, start and stop,
// and the making and destroying of its sessions. One static instance per plug-in.
#pragma once

#include "sdk/PlugsObject.h"

class RootWindow;

// Kinds of plug-in; each must match the extension of its file.
enum PlugKind {
  PLUG_KIND_SYSTEM = 1,  // ".vsy"
  PLUG_KIND_MAIN = 7,    // ".vma"
  PLUG_KIND_ADDIN = 8,   // ".vad"
  PLUG_KIND_INOUT = 9,   // ".vio"
};

// The client name a system plug-in's single session receives.
#define PLUGS_SYSTEM_SESSION_NAME "Vornith 2 Session"

// Called only through its virtual table by the host, in this order; no data and no virtual
// destructor, so the layout is the table pointer alone.
class VornithPlugsFactory {
 public:
  // Registers this instance as the module's factory.
  VornithPlugsFactory();

  virtual int init() = 0;
  virtual void term() = 0;
  virtual const char* name() = 0;
  virtual float version() = 0;
  virtual int kind() = 0;
  virtual const char* author() = 0;
  virtual const char* shortDescription() = 0;
  virtual const char* getHelpFile() = 0;
  virtual PlugsObject* newSession(const char* clientName) = 0;
  virtual void deleteSession(PlugsObject* session) = 0;

 protected:
  ~VornithPlugsFactory() = default;
};

// Generic bodies the plug-ins' factories share.

// Makes a session of the plug-in's class bound to the client; a throwing constructor frees the
// memory and lets the exception reach the host's guard.
template <typename Session>
PlugsObject* plugsNewSession(const char* clientName) {
  return new Session(clientName);
}

// Destroys a session made by plugsNewSession; null is ignored.
void plugsDeleteSession(PlugsObject* session);

// Starts the module's window toolkit with a new root window of its own.
void plugsInitRootWindow(RootWindow*& root);

// Destroys the factory's root window, if any, and clears the pointer.
void plugsTermRootWindow(RootWindow*& root);
