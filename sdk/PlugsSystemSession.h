// The single session of a system plug-in, bound to the host as a whole: hooks into the system
// window, every client's traffic and the command line, plus the system settings services.
#pragma once

#include "sdk/EventData.h"
#include "sdk/PlugsObject.h"

// Virtual operations continue PlugsObject's in this fixed order. Text hooks return the text
// itself for "unchanged".
class PlugsSystemSession : public PlugsObject {
 public:
  explicit PlugsSystemSession(const char* clientName);

  virtual bool onWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  virtual bool onCheckKeyPressed(int key);
  virtual void onNewClient(const char* clientName);
  virtual void onSystemEvent(const char* clientName, int id, EventData* data);
  virtual const char* onReceivedData(const char* clientName, const char* text);
  virtual bool onEvent(const char* clientName, int lineNo, const char* eventName, EventData* data);
  virtual const char* onDataToSend(const char* clientName, const char* text);
  virtual bool onCommandLine(const char* line);
  virtual void reserved();  // keeps its place in the table; never called

  virtual void sendDataToClient(const char* clientName, const char* format, ...)
      __attribute__((format(printf, 3, 4)));
  virtual int getSystemString(const char* key, char* buffer, int size, const char* def);
  virtual int getSystemInt(const char* key, int def);
  virtual bool getSystemBool(const char* key, bool def);
  virtual float getSystemFloat(const char* key, float def);
  virtual void writeSystemString(const char* key, const char* value);
  virtual void writeSystemInt(const char* key, int value);
  virtual void writeSystemBool(const char* key, bool value);
  virtual void writeSystemFloat(const char* key, float value);
};
