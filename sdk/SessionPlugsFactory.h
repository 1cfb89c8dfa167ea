// The bodies every plug-in's factory shares: sessions of one class, no help file, and either
// nothing to start and stop or the module's own window toolkit with its own root window.
#pragma once

#include "sdk/VornithPlugsFactory.h"

// A factory that keeps no state: each module adds its name, version, kind, author and
// description, and overrides init() when it has something to set up.
template <typename Session>
class SessionPlugsFactory : public VornithPlugsFactory {
 public:
  int init() override { return 1; }
  void term() override {}
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    return plugsNewSession<Session>(clientName);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }
};

// A factory whose module draws windows: the toolkit starts with the module and its root window
// lives until the module stops.
template <typename Session>
class ToolkitPlugsFactory : public SessionPlugsFactory<Session> {
 public:
  int init() override {
    plugsInitRootWindow(root_);
    return 1;
  }
  void term() override { plugsTermRootWindow(root_); }

 private:
  RootWindow* root_ = nullptr;
};
