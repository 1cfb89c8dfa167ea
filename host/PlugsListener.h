// What a plug-in manager page asks of the plug-ins managers: switching a plug-in on or off,
// and the close of a setup page.
#pragma once

class PlugRecord;

class PlugsListener {
 public:
  virtual void onSetupClose() = 0;
  virtual bool unloadPlug(PlugRecord* record) = 0;
  virtual bool loadPlug(PlugRecord* record) = 0;

 protected:
  ~PlugsListener() = default;
};
